// Start-up defaults, the enable rules, exit, the file to convert from a drop or the command
// line, and the About box.
// <windows.h> must come before the other Win32 headers.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include <algorithm>
#include <string>

#include "engine/morvel.h"
#include "morvel_version.h"
#include "platform/wide_text_win.h"
#include "ui/commands.h"
#include "ui/resources/resource_ids.h"

namespace morvel::ui {

namespace {

// Eleven lines joined by single line feeds, none at the end.
// clang-format off
constexpr char ABOUT_TEXT[] =
    "MORVEL ver. " MORVEL_VERSION "\n"
    "\n"
    "Copyright (C) the MORVEL developers\n"
    "\n"
    "作成　2001 8/18\n"
    "\n"
    "\n"
    "\n"
    "修正　2002 3/16\n"
    "\n"
    "Home page: the MORVEL project repository";
// clang-format on
constexpr char ABOUT_CAPTION[] = "バージョン情報";

void SetCheck(HWND window, int id, bool checked) {
  SendDlgItemMessageW(window, id, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

// The file to convert: kept in the file-name buffer (cut to 255 characters) and shown in
// IDC_SOURCE_PATH.
void TakeFileToConvert(WindowState& state, std::wstring_view path) {
  const std::size_t length = std::min<std::size_t>(path.size(), PATH_BUFFER_SIZE - 1);
  path.copy(state.fileNameBuffer, length);
  state.fileNameBuffer[length] = L'\0';
  SetDlgItemTextW(state.mainWindow, IDC_SOURCE_PATH, state.fileNameBuffer);
}

}  // namespace

void InitialiseDialog(WindowState& state) {
  const HWND window = state.mainWindow;
  RECT windowRect;
  RECT screenRect;
  GetWindowRect(window, &windowRect);
  GetWindowRect(GetDesktopWindow(), &screenRect);
  const int width = windowRect.right - windowRect.left;
  const int height = windowRect.bottom - windowRect.top;
  // Integer halves that truncate toward zero, so a window larger than the screen gets a
  // negative edge.
  const int left = screenRect.right / 2 - width / 2;
  const int top = screenRect.bottom / 2 - height / 2;
  SetWindowPos(window, nullptr, left, top, width, height, SWP_SHOWWINDOW);

  const ConversionOptions defaults;
  SetDlgItemTextW(window, IDC_SOURCE_PATH, L"");
  SetDlgItemTextW(window, IDC_TARGET_PATH, L"");
  SetDlgItemTextW(window, IDC_BORDER, std::to_wstring(defaults.imageBorder).c_str());
  ShowColour(window, IDC_BGCOLOR_TEXT, state.bgColourRef);
  ShowColour(window, IDC_TEXTCOLOR_TEXT, state.textColourRef);

  const bool breaksOnly = defaults.lineTagMode == LineTagMode::BreaksOnly;
  const bool kanji = defaults.stampStyle == StampStyle::Kanji;
  SetCheck(window, IDC_TAGS_BR_P, !breaksOnly);
  SetCheck(window, IDC_TAGS_BR, breaksOnly);
  SetCheck(window, IDC_STAMP_KANJI, kanji);
  SetCheck(window, IDC_STAMP_NUMERIC, !kanji);
  SetCheck(window, IDC_STAMP, defaults.stampEnabled);
  SetCheck(window, IDC_AUTOLINK, defaults.autoLinkEnabled);
  SetCheck(window, IDC_LINETAGS, defaults.lineTagsEnabled);
  SetCheck(window, IDC_ESCAPE, defaults.escapeSpecials);
}

void ApplyEnableRule(HWND window, int checkBoxId, int firstRadioId, int secondRadioId) {
  const BOOL on = SendDlgItemMessageW(window, checkBoxId, BM_GETCHECK, 0, 0) == BST_CHECKED;
  EnableWindow(GetDlgItem(window, firstRadioId), on);
  EnableWindow(GetDlgItem(window, secondRadioId), on);
}

void ExitWindow(WindowState& state) {
  if (state.converting) {
    state.exitPending = true;  // CreatePage destroys the window once ConvertFile has returned
    return;
  }
  DestroyWindow(state.mainWindow);
}

void ShowAbout(WindowState& state) {
  MessageBoxW(state.mainWindow, Widen(ABOUT_TEXT).c_str(), Widen(ABOUT_CAPTION).c_str(), MB_OK);
}

void TakeDroppedFile(WindowState& state, HDROP drop) {
  const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
  std::wstring path(length + 1, L'\0');
  path.resize(DragQueryFileW(drop, 0, path.data(), length + 1));
  TakeFileToConvert(state, path);
  DragFinish(drop);
}

void TakeStartArgument(WindowState& state) {
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!arguments) return;
  // Only the first file counts, as in a drop; a drop always names a full path.
  if (count > 1) TakeFileToConvert(state, FullPath(arguments[1]).value_or(arguments[1]));
  LocalFree(arguments);
}

}  // namespace morvel::ui
