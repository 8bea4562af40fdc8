#include "text/utf16.h"

#include "text/encoding.h"
#include "text/utf8.h"

namespace morvel {

std::optional<Utf16Character> FirstUtf16Character(std::u16string_view text) {
  const char32_t first = text[0];
  if (IsHighSurrogate(first) && text.size() > 1 && IsLowSurrogate(text[1])) {
    return Utf16Character{SurrogatePairValue(first, text[1]), 2};
  }
  if (IsHighSurrogate(first) || IsLowSurrogate(first)) return std::nullopt;
  return Utf16Character{first, 1};
}

void AppendUtf16(char32_t value, std::u16string& out) {
  if (value < 0x10000) {
    out.push_back(static_cast<char16_t>(value));
    return;
  }
  value -= 0x10000;
  out.push_back(static_cast<char16_t>(0xD800 + (value >> 10)));
  out.push_back(static_cast<char16_t>(0xDC00 + (value & 0x3FF)));
}

std::optional<std::u16string> Utf8ToUtf16(std::string_view text) {
  std::u16string result;
  result.reserve(text.size());
  while (!text.empty()) {
    const auto character = FirstUtf8Character(text);
    if (!character) return std::nullopt;
    AppendUtf16(character->value, result);
    text.remove_prefix(character->length);
  }
  return result;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string result;
  result.reserve(text.size());
  while (!text.empty()) {
    const auto character = FirstUtf16Character(text);
    AppendUtf8(character ? character->value : REPLACEMENT_CHARACTER, result);
    text.remove_prefix(character ? character->length : 1);
  }
  return result;
}

}  // namespace morvel
