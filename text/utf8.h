// The characters of UTF-8 text, one at a time, and the reference that stands for one in a page.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace morvel {

struct Utf8Character {
  char32_t value = 0;      // the Unicode scalar value
  std::size_t length = 0;  // its bytes
};

// The number of bytes of a UTF-8 sequence that starts with `lead` (1 to 4), or 0 for a byte
// that starts none.
std::size_t Utf8SequenceLength(char lead);

// The character that starts `text` (not empty), or nothing for a sequence UTF-8 does not allow:
// a stray or missing continuation byte, an overlong form, a surrogate, a value past U+10FFFF,
// or a sequence that `text` ends before its last byte.
std::optional<Utf8Character> FirstUtf8Character(std::string_view text);

// Appends scalar value `value` as UTF-8.
void AppendUtf8(char32_t value, std::string& out);

// The decimal numeric character reference for `value`: "&#9731;" for U+2603.
std::string CharacterReference(char32_t value);

}  // namespace morvel
