// Entry point: initialises the common controls, registers the window class, opens the main
// dialog (with the file named on the command line, if any) and runs the message loop until the
// window has been destroyed.
// <windows.h> must come before the other Win32 headers.
// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
// clang-format on

#include "platform/wide_text_win.h"
#include "ui/commands.h"
#include "ui/main_window.h"
#include "ui/window_state.h"

namespace {

constexpr char STARTUP_CAPTION[] = "Pavo12";
constexpr char CLASS_FAILED[] = "ウインドウクラスを登録できませんでした";
constexpr char WINDOW_FAILED[] = "メインウインドウを作成できませんでした";

void ShowStartupFailure(const char* text) {
  MessageBoxW(nullptr, morvel::Widen(text).c_str(), morvel::Widen(STARTUP_CAPTION).c_str(),
              MB_OK | MB_ICONERROR);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  using namespace morvel::ui;
  // Before anything can load a library: libraries come from System32 only, never from the
  // program's own folder (often Downloads, where a planted version.dll or uxtheme.dll would be
  // loaded by the common dialogs and the shell in place of the system's).
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  windowState.appInstance = instance;
  // The dialog's buttons, edit fields and labels come from Common Controls 6, which the
  // manifest asks for. Should this fail, the same controls still come from the system's
  // own classes, so the start goes on.
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  if (!RegisterMainWindowClass(instance)) {
    ShowStartupFailure(CLASS_FAILED);
    return 0;
  }
  const HWND window = CreateMainWindow(instance);
  if (!window) {
    ShowStartupFailure(WINDOW_FAILED);
    return 0;
  }
  windowState.mainWindow = window;
  TakeStartArgument(windowState);
  DragAcceptFiles(window, TRUE);
  ShowWindow(window, showCommand);
  UpdateWindow(window);

  MSG message;
  BOOL got;
  while ((got = GetMessageW(&message, nullptr, 0, 0)) > 0) {
    if (IsDialogMessageW(window, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  // 0 is WM_QUIT, whose wParam is the exit code; -1 (a broken loop) ends the process too.
  return got == 0 ? static_cast<int>(message.wParam) : 0;
}
