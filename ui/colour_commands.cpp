// Commands 1024 and 1025: the colour dialog for the page's background and text colours.
#include <string>

#include "engine/morvel.h"
#include "platform/wide_text_win.h"
#include "ui/commands.h"
#include "ui/resources/resource_ids.h"

namespace morvel::ui {

namespace {

constexpr int BACKGROUND_CUSTOM_SLOT = 7;  // last box of the first row
constexpr int TEXT_CUSTOM_SLOT = 15;       // last box of the second row

void ChooseColour(WindowState& state, COLORREF& colourRef, int customSlot, int textId) {
  CHOOSECOLORW request = {};
  request.lStructSize = sizeof request;
  request.hwndOwner = state.mainWindow;
  request.rgbResult = colourRef;
  request.lpCustColors = state.customColours;
  request.Flags = CC_RGBINIT;
  if (!state.dialogs.chooseColour(&request)) return;

  // Only red, green and blue count.
  colourRef = request.rgbResult & WHITE;
  state.customColours[customSlot] = colourRef;
  ShowColour(state.mainWindow, textId, colourRef);
}

}  // namespace

void ShowColour(HWND window, int textId, COLORREF colourRef) {
  const std::string shown = "# " + HexDigits(ColourOf(colourRef));
  SetDlgItemTextW(window, textId, Widen(shown).c_str());
}

void ChooseBackgroundColour(WindowState& state) {
  ChooseColour(state, state.bgColourRef, BACKGROUND_CUSTOM_SLOT, IDC_BGCOLOR_TEXT);
}

void ChooseTextColour(WindowState& state) {
  ChooseColour(state, state.textColourRef, TEXT_CUSTOM_SLOT, IDC_TEXTCOLOR_TEXT);
}

}  // namespace morvel::ui
