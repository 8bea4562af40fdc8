// The converter on Windows: the wide command line, code page 932 for the engine, and the
// console's own code page (or wide writes) for what the user reads.
// <windows.h> must come before the other Win32 headers.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include "cli/host.h"
#include "engine/morvel.h"
#include "platform/native_platform.h"
#include "platform/wide_text_win.h"

namespace morvel::cli {

namespace {

bool IsConsole(HANDLE handle) {
  DWORD mode = 0;
  return handle != INVALID_HANDLE_VALUE && handle != nullptr && GetConsoleMode(handle, &mode);
}

class WindowsConsole final : public Console {
 public:
  bool Out(std::string_view line) override {
    return Write(STD_OUTPUT_HANDLE, std::string(line) + "\n");
  }
  void Err(std::string_view line) override { Write(STD_ERROR_HANDLE, std::string(line) + "\n"); }
  bool CanAsk() override { return IsConsole(GetStdHandle(STD_INPUT_HANDLE)); }

  std::optional<std::string> Ask(std::string_view prompt) override {
    Write(STD_ERROR_HANDLE, prompt);
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    std::wstring answer;
    wchar_t character = 0;
    DWORD read = 0;
    while (ReadConsoleW(input, &character, 1, &read, nullptr) && read == 1) {
      if (character == L'\n') return NarrowToUtf8(answer);
      if (character != L'\r') answer += character;
    }
    if (answer.empty()) return std::nullopt;
    return NarrowToUtf8(answer);
  }

 private:
  // A console shows the text as written (wide); a file or pipe receives it in the console's
  // code page, with CR LF line ends. False when not all of it got there.
  static bool Write(DWORD stream, std::string_view text) {
    const HANDLE handle = GetStdHandle(stream);
    if (handle == INVALID_HANDLE_VALUE || handle == nullptr) return false;
    std::wstring wide;
    for (const wchar_t c : WidenUtf8(text).value_or(L"?")) {
      if (c == L'\n') wide += L'\r';
      wide += c;
    }
    DWORD written = 0;
    if (IsConsole(handle)) {
      return WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written,
                           nullptr) &&
             written == wide.size();
    }
    UINT codePage = GetConsoleOutputCP();
    if (codePage == 0) codePage = GetACP();
    const std::string bytes = NarrowToRead(wide, codePage);
    return WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
  }
};

}  // namespace

void LoadLibrariesFromTheSystemOnly() { SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32); }

std::vector<std::string> HostArguments(int, char**) {
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> arguments;
  for (int i = 1; wide && i < count; ++i) arguments.push_back(NarrowToUtf8(wide[i]));
  if (wide) LocalFree(wide);
  return arguments;
}

std::optional<std::string> ToEngineText(std::string_view text) { return EngineTextFromUtf8(text); }

std::string ToHostText(std::string_view engineText) { return Utf8FromEngineText(engineText); }

EnginePath ToEnginePath(std::string_view path) {
  // An empty name goes to the engine, which asks for one.
  if (path.empty()) return {};
  const auto wide = WidenUtf8(path);
  if (!wide) return {{}, "the path is not valid text"};
  const auto full = FullPath(*wide);
  if (!full) return {{}, "the path cannot be made into a full path"};
  auto engine = ToCodePage932(*full);
  if (!engine) return {{}, "the path holds a character that code page 932 cannot hold"};
  return {std::move(*engine), {}};
}

std::string DisplayPath(std::string_view enginePath) { return ToHostText(enginePath); }

std::unique_ptr<Console> MakeHostConsole() { return std::make_unique<WindowsConsole>(); }

}  // namespace morvel::cli
