// What the main window keeps between messages: the handles, the two page colours (which the
// colour texts show), the custom colours of the colour dialog, the shared file-name buffer and
// file-dialog record, and the busy flag that keeps a conversion from being re-entered or torn down.
#pragma once

// <windows.h> must come before the other Win32 headers.
// clang-format off
#include <windows.h>
#include <commdlg.h>
// clang-format on

#include "engine/morvel.h"

namespace morvel::ui {

inline constexpr int PATH_BUFFER_SIZE = 256;
// The size a path field, the title field and the file dialogs' name are read with, their
// terminator included: at most 254 units of text.
inline constexpr int FIELD_TEXT_LIMIT = PATH_BUFFER_SIZE - 1;
inline constexpr int CUSTOM_COLOUR_COUNT = 16;
inline constexpr COLORREF WHITE = 0x00FFFFFF;

// The modal common dialogs, called through pointers so that tests can stand in for the user.
struct CommonDialogs {
  BOOL(WINAPI* getOpenFileName)(OPENFILENAMEW*) = GetOpenFileNameW;
  BOOL(WINAPI* getSaveFileName)(OPENFILENAMEW*) = GetSaveFileNameW;
  BOOL(WINAPI* chooseColour)(CHOOSECOLORW*) = ChooseColorW;
};

// A Win32 colour (0x00BBGGRR) as the engine's colour (0xRRGGBB), and back.
constexpr Colour ColourOf(COLORREF colourRef) {
  return {static_cast<std::uint32_t>(GetRValue(colourRef)) << 16 |
          static_cast<std::uint32_t>(GetGValue(colourRef)) << 8 | GetBValue(colourRef)};
}
constexpr COLORREF ColourRefOf(Colour colour) {
  return RGB(colour.rgb >> 16 & 0xFF, colour.rgb >> 8 & 0xFF, colour.rgb & 0xFF);
}

struct WindowState {
  HINSTANCE appInstance = nullptr;
  HWND mainWindow = nullptr;
  // The page colours, shown as "# RRGGBB" in IDC_BGCOLOR_TEXT and IDC_TEXTCOLOR_TEXT.
  COLORREF bgColourRef = ColourRefOf(ConversionOptions{}.bgColour);
  COLORREF textColourRef = ColourRefOf(ConversionOptions{}.textColour);
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
  // The icons loaded for a change of scale, destroyed with the window (the class's own stay).
  HICON bigIcon = nullptr;
  HICON smallIcon = nullptr;
  CommonDialogs dialogs;
};

// The one window of the process.
extern WindowState windowState;

}  // namespace morvel::ui
