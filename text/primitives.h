// Byte-string primitives shared by the engine and the text rules. They work byte by byte and
// know nothing of double-byte characters.
#pragma once

#include <string_view>

#include "text/encoding.h"

namespace morvel {

// True when `text` begins with `prefix`, comparing "a"-"z" with "A"-"Z" as equal and every
// other byte (0x80-0xFF included) exactly. An empty prefix matches every text. Reads no byte
// of `text` beyond the prefix's length.
constexpr bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (FoldAsciiCase(text[i]) != FoldAsciiCase(prefix[i])) return false;
  }
  return true;
}

}  // namespace morvel
