// Drives MORVEL.exe from a second process the way a user would: finds its windows, sets and
// reads control texts, clicks, presses keys, drops files, reads and answers message boxes.
// Everything is done with window messages, which Wine marshals between the two processes.
//
// Texts cross as UTF-16. The tests write theirs as code page 932 literals, converted here with
// code page 932 explicitly, so they read the same whatever the ANSI code page of the run; a
// character code page 932 lacks is given and read as UTF-16 (the wide overloads).
#pragma once

// <windows.h> must come before the other Win32 headers.
// clang-format off
#include <windows.h>
#include <shlobj.h>
// clang-format on

#include <cstring>
#include <string>
#include <vector>

namespace morvel::e2e {

inline std::wstring FromCodePage932(const std::string& text) {
  std::wstring wide(text.size(), L'\0');
  wide.resize(MultiByteToWideChar(932, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                                  static_cast<int>(wide.size())));
  return wide;
}

// What code page 932 lacks becomes "?" here: compare such texts as UTF-16.
inline std::string ToCodePage932(const std::wstring& wide) {
  std::string text(wide.size() * 2, '\0');
  text.resize(WideCharToMultiByte(932, 0, wide.data(), static_cast<int>(wide.size()), text.data(),
                                  static_cast<int>(text.size()), nullptr, nullptr));
  return text;
}

// The program under test; ended on destruction if it is still running.
class RunningApp {
 public:
  RunningApp() = default;
  RunningApp(const RunningApp&) = delete;
  RunningApp& operator=(const RunningApp&) = delete;
  ~RunningApp() {
    if (!process_.hProcess) return;
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
      TerminateProcess(process_.hProcess, 99);
      WaitForSingleObject(process_.hProcess, 5000);
    }
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
  }

  // Starts `exe` in `folder`; `arguments` follow the quoted program name on its command line.
  bool Launch(const std::string& exe, const std::string& folder,
              const std::wstring& arguments = L"") {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    std::wstring commandLine = L"\"" + FromCodePage932(exe) + L"\"";
    if (!arguments.empty()) commandLine += L" " + arguments;
    return CreateProcessW(FromCodePage932(exe).c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                          0, nullptr, FromCodePage932(folder).c_str(), &startup, &process_) != 0;
  }

  // The exit code, or STILL_ACTIVE when the process has not ended within `ms`.
  DWORD WaitForExit(DWORD ms) {
    if (WaitForSingleObject(process_.hProcess, ms) != WAIT_OBJECT_0) return STILL_ACTIVE;
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
  }

  bool HasExited() { return WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0; }
  DWORD Id() const { return process_.dwProcessId; }
  HANDLE Handle() const { return process_.hProcess; }

 private:
  PROCESS_INFORMATION process_ = {};
};

inline std::string FolderOfThisProgram() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string text(path, length);
  return text.substr(0, text.find_last_of("\\/") + 1);
}

inline std::string ClassOf(HWND window) {
  char name[256] = "";
  GetClassNameA(window, name, sizeof name);
  return name;
}

// A window's text; WM_GETTEXT is marshalled across processes, GetWindowTextW is not.
inline std::wstring WideTextOf(HWND window) {
  wchar_t text[4096] = L"";
  SendMessageTimeoutW(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                      2000, nullptr);
  return text;
}

inline std::string TextOf(HWND window) { return ToCodePage932(WideTextOf(window)); }

inline void SetTextOf(HWND window, const std::wstring& text) {
  SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

struct WindowQuery {
  DWORD processId;
  const char* className;
  std::vector<HWND> found;
};

inline BOOL CALLBACK CollectWindow(HWND window, LPARAM lParam) {
  auto& query = *reinterpret_cast<WindowQuery*>(lParam);
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (processId == query.processId && IsWindowVisible(window) &&
      (!query.className || ClassOf(window) == query.className)) {
    query.found.push_back(window);
  }
  return TRUE;
}

// Visible top-level windows of a process, of one class or of any.
inline std::vector<HWND> TopWindows(DWORD processId, const char* className) {
  WindowQuery query{processId, className, {}};
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&query));
  return query.found;
}

// Polls for a condition; true as soon as it holds.
template <class Condition>
bool WaitUntil(Condition condition, DWORD ms = 5000) {
  for (const DWORD start = GetTickCount(); GetTickCount() - start < ms; Sleep(15)) {
    if (condition()) return true;
  }
  return condition();
}

inline HWND WaitForWindow(RunningApp& app, const char* className, DWORD ms = 10000) {
  HWND window = nullptr;
  WaitUntil(
      [&] {
        const auto windows = TopWindows(app.Id(), className);
        if (!windows.empty()) window = windows.front();
        return window != nullptr || app.HasExited();
      },
      ms);
  return window;
}

// A message box: a top-level "#32770" whose text is the static with id 0xFFFF.
struct MessageBoxSeen {
  HWND window = nullptr;
  std::string caption;
  std::string text;
};

inline MessageBoxSeen WaitForMessageBox(RunningApp& app, DWORD ms = 10000) {
  MessageBoxSeen box;
  box.window = WaitForWindow(app, "#32770", ms);
  if (!box.window) return box;
  box.caption = TextOf(box.window);
  if (HWND text = GetDlgItem(box.window, 0xFFFF)) box.text = TextOf(text);
  return box;
}

// Presses a message box's button (IDOK or IDCANCEL) and waits for the box to close.
inline bool Answer(const MessageBoxSeen& box, int button) {
  PostMessageW(box.window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
  return WaitUntil([&] { return !IsWindow(box.window) || !IsWindowVisible(box.window); });
}

// A button press as a mouse click would make it. Posted, because the press may open a modal
// box, and a sent message would wait for that box to close.
inline void Click(HWND dialog, int id) { PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

// A command as the menu sends it.
inline void PostCommand(HWND window, int id) {
  PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

// A key pressed while the focus is in control `id`.
inline void PressKey(HWND dialog, int id, WPARAM key) {
  HWND control = GetDlgItem(dialog, id);
  PostMessageA(control, WM_KEYDOWN, key, 1);
  PostMessageA(control, WM_KEYUP, key, 0xC0000001);
}

inline void SetText(HWND dialog, int id, const std::wstring& text) {
  SetTextOf(GetDlgItem(dialog, id), text);
}

inline void SetText(HWND dialog, int id, const std::string& text) {
  SetText(dialog, id, FromCodePage932(text));
}

inline std::string TextOf(HWND dialog, int id) { return TextOf(GetDlgItem(dialog, id)); }
inline std::wstring WideTextOf(HWND dialog, int id) { return WideTextOf(GetDlgItem(dialog, id)); }

inline int CheckState(HWND dialog, int id) {
  return static_cast<int>(SendMessageA(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0));
}

inline bool IsEnabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)); }

// A drop from the shell, with UTF-16 names as the shell gives them. The HDROP is memory of the
// receiving process, so the DROPFILES block is built there; the receiver's DragFinish cannot
// free it, which leaks one page per drop.
inline bool DropFiles(RunningApp& app, HWND target, const std::vector<std::string>& paths) {
  std::vector<char> block(sizeof(DROPFILES));
  auto* header = reinterpret_cast<DROPFILES*>(block.data());
  header->pFiles = sizeof(DROPFILES);
  header->fWide = TRUE;
  for (const std::string& path : paths) {
    const std::wstring wide = FromCodePage932(path) + L'\0';
    const char* bytes = reinterpret_cast<const char*>(wide.data());
    block.insert(block.end(), bytes, bytes + wide.size() * sizeof(wchar_t));
  }
  block.insert(block.end(), sizeof(wchar_t), '\0');
  void* remote =
      VirtualAllocEx(app.Handle(), nullptr, block.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  return remote && WriteProcessMemory(app.Handle(), remote, block.data(), block.size(), nullptr) &&
         PostMessageA(target, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0);
}

}  // namespace morvel::e2e
