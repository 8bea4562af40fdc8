// Reads a golden case. Its header holds "#" comment lines and "key: value" lines:
//   switches: stamp=1 style=1 tags=1 mode=0 link=1 escape=1   (any subset; these defaults;
//             each 0 or 1 as the window's control reads, style=1 kanji, mode=1 "<BR>" only)
//   title: T
// then "=== input" and "=== page" start the input file's bytes and the page's bytes. In those
// sections the file's own line breaks are layout only: every byte is written out, with the
// escapes \r \n \t \\ \0 and \xHH (two hex digits), so a data line that ends in CR LF is
// written "...\r\n" and a space at the end of a line as \x20.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "engine/conversion_options.h"

namespace morvel::golden {

struct GoldenCase {
  ConversionOptions options;
  std::string title = "T";
  std::string input;
  std::string page;
};

// Nothing when the text is malformed; `error` then says why.
std::optional<GoldenCase> ParseCase(std::string_view text, std::string& error);

}  // namespace morvel::golden
