// UTF-16, as Windows' W functions take it, and its conversion to and from UTF-8.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace morvel {

// The halves of a surrogate pair, and the character a pair stands for.
constexpr bool IsHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
constexpr bool IsLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }
constexpr char32_t SurrogatePairValue(char32_t high, char32_t low) {
  return 0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00);
}

struct Utf16Character {
  char32_t value = 0;      // the Unicode scalar value
  std::size_t length = 0;  // its code units: 1, or 2 for a surrogate pair
};

// The character that starts `text` (not empty), or nothing for a lone surrogate.
std::optional<Utf16Character> FirstUtf16Character(std::u16string_view text);

// Appends scalar value `value` as UTF-16.
void AppendUtf16(char32_t value, std::u16string& out);

// UTF-8 `text` as UTF-16, or nothing when it is not valid UTF-8.
std::optional<std::u16string> Utf8ToUtf16(std::string_view text);

// UTF-16 `text` as UTF-8; a lone surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace morvel
