// Entry point: registers the window class, opens the main dialog and runs the message loop
// until the window has been destroyed.
// <windows.h> must come before the other Win32 headers.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include "ui/main_window.h"
#include "ui/window_state.h"

namespace {

constexpr char STARTUP_CAPTION[] = "Pavo12";
constexpr char CLASS_FAILED[] = "ウインドウクラスを登録できませんでした";
constexpr char WINDOW_FAILED[] = "メインウインドウを作成できませんでした";

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  using namespace morvel::ui;
  windowState.appInstance = instance;
  if (!RegisterMainWindowClass(instance)) {
    MessageBoxA(nullptr, CLASS_FAILED, STARTUP_CAPTION, MB_OK | MB_ICONERROR);
    return 0;
  }
  const HWND window = CreateMainWindow(instance);
  if (!window) {
    MessageBoxA(nullptr, WINDOW_FAILED, STARTUP_CAPTION, MB_OK | MB_ICONERROR);
    return 0;
  }
  windowState.mainWindow = window;
  DragAcceptFiles(window, TRUE);
  ShowWindow(window, showCommand);
  UpdateWindow(window);

  MSG message;
  BOOL got;
  while ((got = GetMessageA(&message, nullptr, 0, 0)) > 0) {
    if (IsDialogMessageA(window, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  // 0 is WM_QUIT, whose wParam is the exit code; -1 (a broken loop) ends the process too.
  return got == 0 ? static_cast<int>(message.wParam) : 0;
}
