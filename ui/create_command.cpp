// Command 1: gathers the dialog's settings and runs one conversion.
#include <cstdint>
#include <optional>
#include <string>

#include "engine/convert_file.h"
#include "engine/messages.h"
#include "platform/native_platform.h"
#include "platform/wide_text_win.h"
#include "text/code_page_932.h"
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

// "# RRGGBB" shown in a colour text becomes "RRGGBB".
std::string ReadColourText(HWND window, int id) {
  const std::string shown = ToCodePage932(ReadText(window, id, 9)).value_or("");
  return shown.size() > 2 ? shown.substr(2) : std::string();
}

std::int32_t ReadCheck(HWND window, int id) {
  return SendDlgItemMessageW(window, id, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}

ConversionOptions ReadOptions(HWND window) {
  ConversionOptions options;
  options.stampEnabled = ReadCheck(window, IDC_STAMP);
  options.stampStyle = ReadCheck(window, IDC_STAMP_KANJI);
  options.lineTagsEnabled = ReadCheck(window, IDC_LINETAGS);
  options.lineTagMode = ReadCheck(window, IDC_TAGS_BR);
  options.autoLinkEnabled = ReadCheck(window, IDC_AUTOLINK);
  options.escapeSpecials = ReadCheck(window, IDC_ESCAPE);
  // Anything that is not an unsigned decimal number reads as 0; the unsigned value is kept
  // bit for bit, so a number above 2147483647 arrives negative.
  const UINT border = GetDlgItemInt(window, IDC_BORDER, nullptr, FALSE);
  options.imageBorder = static_cast<std::int32_t>(border);
  return options;
}

// Reads every control and runs the request, or refuses a name code page 932 cannot spell
// before any other check: a stand-in "?" would be a wildcard that picks another file.
void RunRequest(HWND window) {
  std::optional<std::string> sourcePath = ToCodePage932(ReadText(window, IDC_SOURCE_PATH, 255));
  std::optional<std::string> targetPath = ToCodePage932(ReadText(window, IDC_TARGET_PATH, 255));
  const std::string bgColour = ReadColourText(window, IDC_BGCOLOR_TEXT);
  const std::string textColour = ReadColourText(window, IDC_TEXTCOLOR_TEXT);
  const ConversionOptions options = ReadOptions(window);
  // UTF-8 from UTF-16 is always valid: a lone surrogate becomes U+FFFD.
  const std::string title =
      Utf8ToCp932WithReferences(NarrowToUtf8(ReadText(window, IDC_TITLE, 255))).value_or("");

  DialogUserInterface user(window);
  if (!sourcePath || !targetPath) {
    user.ShowMessage(messages::UNREPRESENTABLE_NAME, messages::CAPTION_NAME, BOX_ICONWARNING);
    return;
  }
  auto files = MakeNativeFileSystem();
  auto clock = MakeSystemClock();
  Platform platform{*files, user, *clock};
  ConvertFile(*sourcePath, *targetPath, options, bgColour, textColour, title, platform);
}

}  // namespace

void CreatePage(WindowState& state) {
  // The message boxes run their own message loops, which deliver this window's commands too:
  // a second request must not start inside the running one.
  if (state.converting) return;
  state.converting = true;
  RunRequest(state.mainWindow);
  state.converting = false;

  // An exit asked for during the conversion happens now that nothing uses the window.
  if (state.exitPending) {
    state.exitPending = false;
    DestroyWindow(state.mainWindow);
  }
}

}  // namespace morvel::ui
