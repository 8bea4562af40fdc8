// Commands 1024 and 1025: the colour dialog for the page's background and text colours.
#include <utility>

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

  // Only red, green and blue count; this keeps the text at six digits.
  colourRef = request.rgbResult & WHITE;
  state.customColours[customSlot] = colourRef;

  char digits[16];
  wsprintfA(digits, "%06X", static_cast<unsigned>(colourRef));
  SwapRedBlue(digits);
  char shown[16];
  wsprintfA(shown, "# %s", digits);
  SetDlgItemTextW(state.mainWindow, textId, Widen(shown).c_str());
}

}  // namespace

void SwapRedBlue(char* digits) {
  std::swap(digits[0], digits[4]);
  std::swap(digits[1], digits[5]);
}

void ChooseBackgroundColour(WindowState& state) {
  ChooseColour(state, state.bgColourRef, BACKGROUND_CUSTOM_SLOT, IDC_BGCOLOR_TEXT);
}

void ChooseTextColour(WindowState& state) {
  ChooseColour(state, state.textColourRef, TEXT_CUSTOM_SLOT, IDC_TEXTCOLOR_TEXT);
}

}  // namespace morvel::ui
