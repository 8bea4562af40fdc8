// The commands and messages of the main window, one routine each. Each works on the window in
// `state.mainWindow` and returns nothing: the window procedure answers 0 for all of them.
#pragma once

#include <windows.h>

#include "ui/window_state.h"

namespace morvel::ui {

// WM_INITDIALOG: centres and shows the window, then sets every control to the default of its
// setting, the colour texts to the state's colours.
void InitialiseDialog(WindowState& state);
// Commands 1013 and 1015: enables the check box's two radio buttons when it is on.
void ApplyEnableRule(HWND window, int checkBoxId, int firstRadioId, int secondRadioId);
// Command 1: reads every control and runs one conversion (ignored while one is running).
void CreatePage(WindowState& state);
// Command 2: destroys the window, or leaves that to the running conversion's end.
void ExitWindow(WindowState& state);
// Commands 1002 and 1004: a file dialog whose confirmed path goes into a path field.
void BrowseForSource(WindowState& state);
void BrowseForTarget(WindowState& state);
// Commands 1024 and 1025: the colour dialog for the page background or its text.
void ChooseBackgroundColour(WindowState& state);
void ChooseTextColour(WindowState& state);
// Command 40004.
void ShowAbout(WindowState& state);
// WM_DROPFILES: the first dropped file becomes the file to convert.
void TakeDroppedFile(WindowState& state, HDROP drop);
// Start-up: the first argument of the command line ("Open with", "Send to", a file dropped on
// the program's icon) becomes the file to convert exactly as a dropped file would; a relative
// path is taken from the current folder. Without arguments nothing changes.
void TakeStartArgument(WindowState& state);

// Shows `colourRef` as "# RRGGBB" in the colour text `textId`.
void ShowColour(HWND window, int textId, COLORREF colourRef);

}  // namespace morvel::ui
