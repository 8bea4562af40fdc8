// The main window: its class and its window procedure, which is also its dialog procedure.
#pragma once

#include <windows.h>

namespace morvel::ui {

inline constexpr char WINDOW_CLASS_NAME[] = "MORVEL";

// Registers the class "MORVEL" that the dialog template names. False when that failed.
bool RegisterMainWindowClass(HINSTANCE appInstance);

// Creates the main dialog from its template; nothing when that failed.
HWND CreateMainWindow(HINSTANCE appInstance);

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace morvel::ui
