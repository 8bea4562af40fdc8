// Command 1: gathers the dialog's settings and runs one conversion.
#include <optional>
#include <string>

#include "engine/morvel.h"
#include "platform/native_platform.h"
#include "platform/wide_text_win.h"
#include "ui/commands.h"
#include "ui/dialog_user_interface.h"
#include "ui/resources/resource_ids.h"

namespace morvel::ui {

namespace {

// A control's text cut to limit - 1 UTF-16 units.
std::wstring ReadText(HWND window, int id, int limit) {
  std::wstring buffer(static_cast<std::size_t>(limit), L'\0');
  const UINT length = GetDlgItemTextW(window, id, buffer.data(), limit);
  buffer.resize(length);
  return buffer;
}

bool IsChecked(HWND window, int id) {
  return SendDlgItemMessageW(window, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

ConversionOptions ReadOptions(const WindowState& state) {
  const HWND window = state.mainWindow;
  ConversionOptions options;
  options.stampEnabled = IsChecked(window, IDC_STAMP);
  options.stampStyle = IsChecked(window, IDC_STAMP_KANJI) ? StampStyle::Kanji : StampStyle::Numeric;
  options.lineTagsEnabled = IsChecked(window, IDC_LINETAGS);
  options.lineTagMode =
      IsChecked(window, IDC_TAGS_BR) ? LineTagMode::BreaksOnly : LineTagMode::BreaksAndParagraphs;
  options.autoLinkEnabled = IsChecked(window, IDC_AUTOLINK);
  options.escapeSpecials = IsChecked(window, IDC_ESCAPE);
  // Anything that is not an unsigned decimal number reads as 0.
  options.imageBorder = GetDlgItemInt(window, IDC_BORDER, nullptr, FALSE);
  options.bgColour = ColourOf(state.bgColourRef);
  options.textColour = ColourOf(state.textColourRef);
  return options;
}

// Reads every control and runs the request, or refuses a name code page 932 cannot spell
// before any other check: a stand-in "?" would be a wildcard that picks another file.
void RunRequest(const WindowState& state) {
  const HWND window = state.mainWindow;
  std::optional<std::string> sourcePath =
      ToCodePage932(ReadText(window, IDC_SOURCE_PATH, FIELD_TEXT_LIMIT));
  std::optional<std::string> targetPath =
      ToCodePage932(ReadText(window, IDC_TARGET_PATH, FIELD_TEXT_LIMIT));
  const ConversionOptions options = ReadOptions(state);
  // UTF-8 from UTF-16 is always valid: a lone surrogate becomes U+FFFD.
  std::string title = NarrowToUtf8(ReadText(window, IDC_TITLE, FIELD_TEXT_LIMIT));

  DialogUserInterface user(window);
  if (!sourcePath || !targetPath) {
    user.Tell({Problem::UnrepresentableName});
    return;
  }
  auto files = MakeNativeFileSystem();
  auto clock = MakeSystemClock();
  Platform platform{*files, user, *clock};
  ConversionRequest request;
  request.sourcePath = std::move(*sourcePath);
  request.targetPath = std::move(*targetPath);
  request.options = options;
  request.title = std::move(title);
  ConvertFile(request, platform);
}

}  // namespace

void CreatePage(WindowState& state) {
  // The message boxes run their own message loops, which deliver this window's commands too:
  // a second request must not start inside the running one.
  if (state.converting) return;
  state.converting = true;
  RunRequest(state);
  state.converting = false;

  // An exit asked for during the conversion happens now that nothing uses the window.
  if (state.exitPending) {
    state.exitPending = false;
    DestroyWindow(state.mainWindow);
  }
}

}  // namespace morvel::ui
