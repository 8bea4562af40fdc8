#include <windows.h>

#include "tests/cli/process_runner.h"

namespace morvel::testing {

namespace {

std::wstring Wide(std::string_view text, UINT codePage = CP_UTF8) {
  if (text.empty()) return {};
  const int length =
      MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

std::string Utf8(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                         nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(), length,
                      nullptr, nullptr);
  return text;
}

std::wstring FolderOfThisProgram() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length);
  return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

// One argument quoted as the C runtime's command-line parser reads it back.
std::wstring Quoted(const std::wstring& argument) {
  std::wstring quoted = L"\"";
  std::size_t backslashes = 0;
  for (const wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, L'\\');
  return quoted + L"\"";
}

std::optional<std::string> ReadBytes(const std::wstring& path) {
  // Shared for writing too: under Wine a finished process may hold its inherited handles a
  // moment longer than its exit is signalled.
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes;
  char buffer[65536];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
    bytes.append(buffer, read);
  CloseHandle(file);
  return bytes;
}

// The reading end (inheritable) of a pipe that already holds every byte of `bytes`; its
// writing end is closed, or handed out through `keepWriting`.
HANDLE PipeHolding(std::string_view bytes, HANDLE* keepWriting = nullptr) {
  SECURITY_ATTRIBUTES security{sizeof security, nullptr, TRUE};
  HANDLE reading = INVALID_HANDLE_VALUE, writing = INVALID_HANDLE_VALUE;
  if (!CreatePipe(&reading, &writing, &security, static_cast<DWORD>(bytes.size() + 4096))) {
    return INVALID_HANDLE_VALUE;
  }
  DWORD written = 0;
  if (!bytes.empty()) {
    WriteFile(writing, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  }
  if (keepWriting) {
    *keepWriting = writing;
  } else {
    CloseHandle(writing);
  }
  return reading;
}

void WriteBytes(const std::wstring& path, std::string_view bytes) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

void RemoveTree(const std::wstring& folder) {
  WIN32_FIND_DATAW entry;
  const HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &entry);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = entry.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = folder + L"\\" + name;
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path);
      } else {
        DeleteFileW(path.c_str());
      }
    } while (FindNextFileW(find, &entry));
    FindClose(find);
  }
  RemoveDirectoryW(folder.c_str());
}

HANDLE Inheritable(const std::wstring& path, DWORD access, DWORD disposition) {
  SECURITY_ATTRIBUTES security{sizeof security, nullptr, TRUE};
  return CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &security,
                     disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// What the converter writes to a file or pipe is in the console's code page (the ANSI code
// page without a console).
std::string FromOutputCodePage(const std::string& bytes) {
  UINT codePage = GetConsoleOutputCP();
  if (codePage == 0) codePage = GetACP();
  std::string text = Utf8(Wide(bytes, codePage));
  std::string lf;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    lf += text[i];
  }
  return lf;
}

}  // namespace

ConverterProcess::ConverterProcess() {
  static int counter = 0;
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + L"morvel-cli-" +
                              std::to_wstring(GetCurrentProcessId()) + L"-" +
                              std::to_wstring(++counter);
  CreateDirectoryW(folder.c_str(), nullptr);
  folder_ = Utf8(folder);
}

ConverterProcess::~ConverterProcess() { RemoveTree(Wide(folder_)); }

ProcessResult ConverterProcess::Run(const std::vector<std::string>& arguments,
                                    std::string_view standardInput,
                                    std::optional<int> killAfterMs) const {
  const std::wstring program = FolderOfThisProgram() + L"..\\cli\\morvel-convert.exe";
  std::wstring commandLine = Quoted(program);
  for (const auto& argument : arguments) commandLine += L" " + Quoted(Wide(argument));

  // Fresh names for every run: a log deleted after the last run may still be on its way out
  // while the process that wrote it is being torn down.
  static int runs = 0;
  const std::wstring log = Wide(folder_) + L"-run" + std::to_wstring(++runs);
  const std::wstring outLog = log + L".out";
  const std::wstring errLog = log + L".err";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  HANDLE inputWriting = INVALID_HANDLE_VALUE;
  startup.hStdInput = PipeHolding(standardInput, killAfterMs ? &inputWriting : nullptr);
  startup.hStdOutput = Inheritable(outLog, GENERIC_WRITE, CREATE_ALWAYS);
  startup.hStdError = Inheritable(errLog, GENERIC_WRITE, CREATE_ALWAYS);
  PROCESS_INFORMATION process{};
  ProcessResult result;
  const std::wstring folder = Wide(folder_);
  if (CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                     nullptr, folder.c_str(), &startup, &process)) {
    if (killAfterMs && WaitForSingleObject(process.hProcess, *killAfterMs) == WAIT_TIMEOUT) {
      TerminateProcess(process.hProcess, 255);
    }
    WaitForSingleObject(process.hProcess, 60000);
    DWORD code = 0;
    if (!killAfterMs && GetExitCodeProcess(process.hProcess, &code) && code != STILL_ACTIVE) {
      result.exitStatus = static_cast<int>(code);
    }
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
  }
  for (HANDLE handle : {startup.hStdInput, startup.hStdOutput, startup.hStdError, inputWriting}) {
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  }
  result.outBytes = ReadBytes(outLog).value_or("");
  result.out = FromOutputCodePage(result.outBytes);
  result.err = FromOutputCodePage(ReadBytes(errLog).value_or(""));
  DeleteFileW(outLog.c_str());
  DeleteFileW(errLog.c_str());
  return result;
}

void ConverterProcess::WriteFile(std::string_view name, std::string_view bytes) const {
  WriteBytes(Wide(FullPath(name)), bytes);
}

std::optional<std::string> ConverterProcess::ReadFile(std::string_view name) const {
  return ReadBytes(Wide(FullPath(name)));
}

void ConverterProcess::MakeFolder(std::string_view name) const {
  CreateDirectoryW(Wide(FullPath(name)).c_str(), nullptr);
}

std::string ConverterProcess::FullPath(std::string_view name) const {
  std::string path = folder_ + "\\" + std::string(name);
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

}  // namespace morvel::testing
