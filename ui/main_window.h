// The main window: its class and its window procedure, which is also its dialog procedure.
// The window is a Unicode window: its texts are UTF-16 whatever the system's ANSI code page.
#pragma once

#include <windows.h>

namespace morvel::ui {

inline constexpr wchar_t WINDOW_CLASS_NAME[] = L"MORVEL";

// Registers the class "MORVEL" that the dialog template names. False when that failed.
bool RegisterMainWindowClass(HINSTANCE appInstance);

// Creates the main dialog from its template; nothing when that failed.
HWND CreateMainWindow(HINSTANCE appInstance);

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace morvel::ui
