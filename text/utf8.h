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
constexpr std::size_t Utf8SequenceLength(char lead) {
  const auto byte = static_cast<unsigned char>(lead);
  if (byte < 0x80) return 1;
  if ((byte & 0xE0) == 0xC0) return 2;
  if ((byte & 0xF0) == 0xE0) return 3;
  if ((byte & 0xF8) == 0xF0) return 4;
  return 0;
}

// The character that starts `text` (not empty), or nothing for a sequence UTF-8 does not allow:
// a stray or missing continuation byte, an overlong form, a surrogate, a value past U+10FFFF,
// or a sequence that `text` ends before its last byte. Also usable while compiling
// (cp932_literal.h).
constexpr std::optional<Utf8Character> FirstUtf8Character(std::string_view text) {
  const auto lead = static_cast<unsigned char>(text[0]);
  const std::size_t length = Utf8SequenceLength(text[0]);
  if (length == 1) return Utf8Character{lead, 1};
  if (length == 0 || text.size() < length) return std::nullopt;
  // The bits the lead byte carries, and the smallest value that needs this many bytes.
  char32_t value = lead & (0x7F >> length);
  const char32_t smallest = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
  for (std::size_t i = 1; i < length; ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if ((byte & 0xC0) != 0x80) return std::nullopt;  // not a continuation byte
    value = (value << 6) | (byte & 0x3F);
  }
  if (value < smallest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
    return std::nullopt;
  }
  return Utf8Character{value, length};
}

// Appends scalar value `value` as UTF-8.
void AppendUtf8(char32_t value, std::string& out);

// The decimal numeric character reference for `value`: "&#9731;" for U+2603.
std::string CharacterReference(char32_t value);

}  // namespace morvel
