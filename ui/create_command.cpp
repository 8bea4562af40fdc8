// Command 1: gathers the dialog's settings and runs one conversion.
#include <cstdint>
#include <string>

#include "engine/convert_file.h"
#include "platform/native_platform.h"
#include "ui/commands.h"
#include "ui/dialog_user_interface.h"
#include "ui/resources/resource_ids.h"

namespace morvel::ui {

namespace {

// A control's text cut to limit - 1 characters.
std::string ReadText(HWND window, int id, int limit) {
  std::string buffer(static_cast<std::size_t>(limit), '\0');
  const UINT length = GetDlgItemTextA(window, id, buffer.data(), limit);
  buffer.resize(length);
  return buffer;
}

// "# RRGGBB" shown in a colour text becomes "RRGGBB".
std::string ReadColourText(HWND window, int id) {
  const std::string shown = ReadText(window, id, 9);
  return shown.size() > 2 ? shown.substr(2) : std::string();
}

std::int32_t ReadCheck(HWND window, int id) {
  return SendDlgItemMessageA(window, id, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
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

}  // namespace

void CreatePage(WindowState& state) {
  // The engine's message boxes run their own message loops, which deliver this window's
  // commands too: a second request must not start inside the running one.
  if (state.converting) return;
  const HWND window = state.mainWindow;

  std::string sourcePath = ReadText(window, IDC_SOURCE_PATH, 255);
  std::string targetPath = ReadText(window, IDC_TARGET_PATH, 255);
  const std::string bgColour = ReadColourText(window, IDC_BGCOLOR_TEXT);
  const std::string textColour = ReadColourText(window, IDC_TEXTCOLOR_TEXT);
  const ConversionOptions options = ReadOptions(window);
  const std::string title = ReadText(window, IDC_TITLE, 255);

  auto files = MakeNativeFileSystem();
  auto clock = MakeSystemClock();
  DialogUserInterface user(window);
  Platform platform{*files, user, *clock};

  state.converting = true;
  ConvertFile(sourcePath, targetPath, options, bgColour, textColour, title, platform);
  state.converting = false;

  // An exit asked for during the conversion happens now that nothing uses the window.
  if (state.exitPending) {
    state.exitPending = false;
    DestroyWindow(window);
  }
}

}  // namespace morvel::ui
