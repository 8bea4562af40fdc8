// Whether a text is Japanese, as far as its page's language goes: a text that holds a kana
// character is, since no other language writes kana. Ideographs alone say nothing (Chinese and
// Korean use them too).
#pragma once

#include <string_view>

namespace morvel {

// True when `character` is hiragana (U+3040-U+309F), katakana (U+30A0-U+30FF) or half-width
// katakana (U+FF65-U+FF9F).
constexpr bool IsKana(char32_t character) {
  return (character >= 0x3040 && character <= 0x30FF) ||
         (character >= 0xFF65 && character <= 0xFF9F);
}

// True when UTF-8 `text` holds a kana character; a character cut off at either end does not
// count, and bytes that are not UTF-8 are passed over.
bool HoldsKana(std::string_view text);

}  // namespace morvel
