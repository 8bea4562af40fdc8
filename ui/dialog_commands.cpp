// Start-up defaults, the enable rules, exit, dropped files and the About box.
// <windows.h> must come before the other Win32 headers.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include "ui/commands.h"
#include "ui/resources/resource_ids.h"

namespace morvel::ui {

namespace {

// Eleven lines joined by single line feeds, none at the end.
constexpr char ABOUT_TEXT[] =
    "MORVEL ver. 1.3\n"
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
constexpr char ABOUT_CAPTION[] = "バージョン情報";

void SetCheck(HWND window, int id, WPARAM state) {
  SendDlgItemMessageA(window, id, BM_SETCHECK, state, 0);
}

}  // namespace

void InitialiseDialog(HWND window) {
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

  SetDlgItemTextA(window, IDC_SOURCE_PATH, "");
  SetDlgItemTextA(window, IDC_TARGET_PATH, "");
  SetDlgItemTextA(window, IDC_BORDER, "0");
  SetDlgItemTextA(window, IDC_BGCOLOR_TEXT, "# FFFFFF");
  SetDlgItemTextA(window, IDC_TEXTCOLOR_TEXT, "# 000000");

  SetCheck(window, IDC_TAGS_BR_P, BST_CHECKED);
  SetCheck(window, IDC_TAGS_BR, BST_UNCHECKED);
  SetCheck(window, IDC_STAMP_KANJI, BST_CHECKED);
  SetCheck(window, IDC_STAMP_NUMERIC, BST_UNCHECKED);
  SetCheck(window, IDC_STAMP, BST_CHECKED);
  SetCheck(window, IDC_AUTOLINK, BST_CHECKED);
  SetCheck(window, IDC_LINETAGS, BST_CHECKED);
  SetCheck(window, IDC_ESCAPE, BST_CHECKED);
}

void ApplyEnableRule(HWND window, int checkBoxId, int firstRadioId, int secondRadioId) {
  const BOOL on = SendDlgItemMessageA(window, checkBoxId, BM_GETCHECK, 0, 0) == BST_CHECKED;
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
  MessageBoxA(state.mainWindow, ABOUT_TEXT, ABOUT_CAPTION, MB_OK);
}

void TakeDroppedFile(WindowState& state, HDROP drop) {
  DragQueryFileA(drop, 0, state.fileNameBuffer, PATH_BUFFER_SIZE);
  SetDlgItemTextA(state.mainWindow, IDC_SOURCE_PATH, state.fileNameBuffer);
  DragFinish(drop);
}

}  // namespace morvel::ui
