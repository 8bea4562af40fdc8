#include "ui/main_window.h"

#include <shellapi.h>

#include <utility>

#include "ui/commands.h"
#include "ui/resources/resource_ids.h"
#include "ui/window_state.h"

namespace morvel::ui {

WindowState windowState;

namespace {

// Runs a known command and reports whether the id was one.
bool RunCommand(HWND window, int id) {
  WindowState& state = windowState;
  switch (id) {
    case IDOK:
      CreatePage(state);
      return true;
    case IDCANCEL:
      ExitWindow(state);
      return true;
    case IDC_SOURCE_BROWSE:
      BrowseForSource(state);
      return true;
    case IDC_TARGET_BROWSE:
      BrowseForTarget(state);
      return true;
    case IDC_STAMP:
      ApplyEnableRule(window, IDC_STAMP, IDC_STAMP_KANJI, IDC_STAMP_NUMERIC);
      return true;
    case IDC_LINETAGS:
      ApplyEnableRule(window, IDC_LINETAGS, IDC_TAGS_BR, IDC_TAGS_BR_P);
      return true;
    case IDC_BGCOLOR_BUTTON:
      ChooseBackgroundColour(state);
      return true;
    case IDC_TEXTCOLOR_BUTTON:
      ChooseTextColour(state);
      return true;
    case IDM_ABOUT:
      ShowAbout(state);
      return true;
    default:
      return false;
  }
}

HICON LoadIconSized(HINSTANCE appInstance, int widthMetric, int heightMetric) {
  return static_cast<HICON>(LoadImageW(appInstance, MAKEINTRESOURCEW(IDI_MAIN), IMAGE_ICON,
                                       GetSystemMetrics(widthMetric),
                                       GetSystemMetrics(heightMetric), LR_DEFAULTCOLOR));
}

// A system metric at `dpi`: through GetSystemMetricsForDpi where the system has it (Windows 10
// 1607 on), otherwise the system DPI's metric scaled.
int MetricForDpi(int metric, UINT dpi) {
  using ForDpi = int(WINAPI*)(int, UINT);
  static const auto forDpi = reinterpret_cast<ForDpi>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetSystemMetricsForDpi")));
  if (forDpi) return forDpi(metric, dpi);
  const HDC screen = GetDC(nullptr);
  const int systemDpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return MulDiv(GetSystemMetrics(metric), static_cast<int>(dpi), systemDpi);
}

// Sets the window's icon `which` (ICON_BIG, ICON_SMALL) to the icon file's image at the size for
// `dpi`, and destroys the one it replaces when an earlier change of scale loaded it.
void SetIconForDpi(HWND window, WPARAM which, int widthMetric, int heightMetric, UINT dpi,
                   HICON& loaded) {
  // The icon is the window's own module's, whoever created the window.
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
  const auto icon = static_cast<HICON>(
      LoadImageW(instance, MAKEINTRESOURCEW(IDI_MAIN), IMAGE_ICON, MetricForDpi(widthMetric, dpi),
                 MetricForDpi(heightMetric, dpi), LR_DEFAULTCOLOR));
  if (!icon) return;
  SendMessageW(window, WM_SETICON, which, reinterpret_cast<LPARAM>(icon));
  if (loaded) DestroyIcon(loaded);
  loaded = icon;
}

// The window moved to a monitor of another scale: both icons at the new sizes, and the
// rectangle the system suggests.
void OnDpiChanged(HWND window, UINT dpi, const RECT& suggested) {
  SetIconForDpi(window, ICON_BIG, SM_CXICON, SM_CYICON, dpi, windowState.bigIcon);
  SetIconForDpi(window, ICON_SMALL, SM_CXSMICON, SM_CYSMICON, dpi, windowState.smallIcon);
  SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

bool RegisterMainWindowClass(HINSTANCE appInstance) {
  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = 0;
  windowClass.lpfnWndProc = MainWindowProc;
  windowClass.cbClsExtra = 0;
  windowClass.cbWndExtra = DLGWINDOWEXTRA;
  windowClass.hInstance = appInstance;
  // Both icons at the sizes the system uses at its DPI (the program is DPI aware), each taken
  // from the icon file's image of that size rather than scaled from another.
  windowClass.hIcon = LoadIconSized(appInstance, SM_CXICON, SM_CYICON);
  windowClass.hIconSm = LoadIconSized(appInstance, SM_CXSMICON, SM_CYSMICON);
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszMenuName = MAKEINTRESOURCEW(IDR_MAINMENU);
  windowClass.lpszClassName = WINDOW_CLASS_NAME;
  return RegisterClassExW(&windowClass) != 0;
}

HWND CreateMainWindow(HINSTANCE appInstance) {
  // The window procedure is also the dialog procedure; the template's class makes every
  // message, WM_INITDIALOG included, arrive at MainWindowProc directly.
  return CreateDialogParamW(appInstance, MAKEINTRESOURCEW(IDD_MAIN), nullptr,
                            reinterpret_cast<DLGPROC>(MainWindowProc), 0);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      windowState.mainWindow = window;
      InitialiseDialog(windowState);
      return 0;  // no keyboard focus at start
    case WM_CLOSE:
      // Queued, not run here: the exit command then comes through the message loop.
      PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
      return 0;
    case WM_DESTROY:
      for (HICON* icon : {&windowState.bigIcon, &windowState.smallIcon}) {
        if (*icon) DestroyIcon(std::exchange(*icon, nullptr));
      }
      PostQuitMessage(0);
      return 0;
    case WM_DPICHANGED:
      OnDpiChanged(window, HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_DROPFILES:
      TakeDroppedFile(windowState, reinterpret_cast<HDROP>(wParam));
      return 0;
    case WM_COMMAND:
      if (RunCommand(window, LOWORD(wParam))) return 0;
      break;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace morvel::ui
