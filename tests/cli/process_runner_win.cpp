#include <windows.h>

#include <algorithm>

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
    // Only the converter reads the pipe: another converter started meanwhile must not hold its
    // writing end open.
    SetHandleInformation(writing, HANDLE_FLAG_INHERIT, 0);
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

struct ConverterProcess::Started {
  PROCESS_INFORMATION process{};
  bool running = false;
  std::wstring outLog, errLog;
  HANDLE handles[4] = {INVALID_HANDLE_VALUE, INVALID_HANDLE_VALUE, INVALID_HANDLE_VALUE,
                       INVALID_HANDLE_VALUE};  // standard input, output, error; input's writer
};

ConverterProcess::Started ConverterProcess::Start(const std::vector<std::string>& arguments,
                                                  const RunOptions& options) const {
  const std::wstring program = FolderOfThisProgram() + L"..\\cli\\morvel-convert.exe";
  std::wstring commandLine = Quoted(program);
  for (const auto& argument : arguments) commandLine += L" " + Quoted(Wide(argument));

  // Fresh names for every run: a log deleted after the last run may still be on its way out
  // while the process that wrote it is being torn down.
  static int runs = 0;
  Started started;
  const std::wstring log = Wide(folder_) + L"-run" + std::to_wstring(++runs);
  started.outLog = log + L".out";
  started.errLog = log + L".err";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = started.handles[0] =
      PipeHolding(options.standardInput, options.killAfterMs ? &started.handles[3] : nullptr);
  startup.hStdOutput = started.handles[1] =
      Inheritable(started.outLog, GENERIC_WRITE, CREATE_ALWAYS);
  startup.hStdError = started.handles[2] =
      Inheritable(started.errLog, GENERIC_WRITE, CREATE_ALWAYS);
  const std::wstring folder = Wide(folder_);
  started.running =
      CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                     nullptr, folder.c_str(), &startup, &started.process) != 0;
  return started;
}

ProcessResult ConverterProcess::Finish(Started& started, const RunOptions& options) {
  ProcessResult result;
  if (started.running) {
    const HANDLE process = started.process.hProcess;
    if (options.killAfterMs && WaitForSingleObject(process, *options.killAfterMs) == WAIT_TIMEOUT) {
      TerminateProcess(process, 255);
    }
    WaitForSingleObject(process, 60000);
    DWORD code = 0;
    if (!options.killAfterMs && GetExitCodeProcess(process, &code) && code != STILL_ACTIVE) {
      result.exitStatus = static_cast<int>(code);
    }
    CloseHandle(process);
    CloseHandle(started.process.hThread);
  }
  for (HANDLE handle : started.handles) {
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  }
  result.outBytes = ReadBytes(started.outLog).value_or("");
  result.out = FromOutputCodePage(result.outBytes);
  result.err = FromOutputCodePage(ReadBytes(started.errLog).value_or(""));
  DeleteFileW(started.outLog.c_str());
  DeleteFileW(started.errLog.c_str());
  return result;
}

ProcessResult ConverterProcess::Run(const std::vector<std::string>& arguments,
                                    const RunOptions& options) const {
  Started started = Start(arguments, options);
  return Finish(started, options);
}

std::vector<ProcessResult> ConverterProcess::RunTogether(
    const std::vector<std::vector<std::string>>& argumentLists, std::string_view standardInput,
    int holdMs) const {
  RunOptions options;
  options.standardInput = standardInput;
  options.killAfterMs = holdMs;  // only to hold standard input open
  std::vector<Started> started;
  for (const auto& arguments : argumentLists) started.push_back(Start(arguments, options));
  Sleep(static_cast<DWORD>(holdMs));
  for (Started& each : started) {
    CloseHandle(each.handles[3]);
    each.handles[3] = INVALID_HANDLE_VALUE;
  }
  std::vector<ProcessResult> results;
  for (Started& each : started) results.push_back(Finish(each, {}));
  return results;
}

std::vector<std::string> ConverterProcess::List() const {
  std::vector<std::string> names;
  WIN32_FIND_DATAW entry;
  const HANDLE find = FindFirstFileW((Wide(folder_) + L"\\*").c_str(), &entry);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = entry.cFileName;
    if (name != L"." && name != L"..") names.push_back(Utf8(name));
  } while (FindNextFileW(find, &entry));
  FindClose(find);
  std::sort(names.begin(), names.end());
  return names;
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
