// What the main window keeps between messages: the handles, the colours behind the two colour
// texts, the custom colours of the colour dialog, the shared file-name buffer and file-dialog
// record, and the busy flag that keeps a conversion from being re-entered or torn down.
#pragma once

// <windows.h> must come before the other Win32 headers.
// clang-format off
#include <windows.h>
#include <commdlg.h>
// clang-format on

namespace morvel::ui {

inline constexpr int PATH_BUFFER_SIZE = 256;
inline constexpr int CUSTOM_COLOUR_COUNT = 16;
inline constexpr COLORREF WHITE = 0x00FFFFFF;

// The modal common dialogs, called through pointers so that tests can stand in for the user.
struct CommonDialogs {
  BOOL(WINAPI* getOpenFileName)(OPENFILENAMEW*) = GetOpenFileNameW;
  BOOL(WINAPI* getSaveFileName)(OPENFILENAMEW*) = GetSaveFileNameW;
  BOOL(WINAPI* chooseColour)(CHOOSECOLORW*) = ChooseColorW;
};

struct WindowState {
  HINSTANCE appInstance = nullptr;
  HWND mainWindow = nullptr;
  COLORREF bgColourRef = WHITE;
  COLORREF textColourRef = 0;
  COLORREF customColours[CUSTOM_COLOUR_COUNT] = {WHITE, WHITE, WHITE, WHITE, WHITE, WHITE,
                                                 WHITE, WHITE, WHITE, WHITE, WHITE, WHITE,
                                                 WHITE, WHITE, WHITE, WHITE};
  // Initial name for both browse dialogs and their result; also receives a dropped file and
  // the file the program was started with.
  wchar_t fileNameBuffer[PATH_BUFFER_SIZE] = L"";
  OPENFILENAMEW fileDialogRecord = {};
  // Set while ConvertFile runs: a create command then is ignored and an exit waits for it.
  bool converting = false;
  bool exitPending = false;
  CommonDialogs dialogs;
};

// The one window of the process.
extern WindowState windowState;

}  // namespace morvel::ui
