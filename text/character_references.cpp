#include "text/character_references.h"

#include <cstdint>

namespace morvel {

namespace {

struct Utf8Character {
  char32_t value = 0;
  std::size_t length = 0;
};

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The character that starts `text`, or nothing for a sequence UTF-8 does not allow: a stray
// or missing continuation byte, an overlong form, a surrogate, or a value past U+10FFFF.
std::optional<Utf8Character> FirstCharacter(std::string_view text) {
  const auto lead = static_cast<unsigned char>(text[0]);
  if (lead < 0x80) return Utf8Character{lead, 1};
  std::size_t length = 0;
  char32_t value = 0;
  char32_t smallest = 0;
  if ((lead & 0xE0) == 0xC0) {
    length = 2, value = lead & 0x1F, smallest = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, value = lead & 0x0F, smallest = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, value = lead & 0x07, smallest = 0x10000;
  } else {
    return std::nullopt;
  }
  if (text.size() < length) return std::nullopt;
  for (std::size_t i = 1; i < length; ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (!IsContinuation(byte)) return std::nullopt;
    value = (value << 6) | (byte & 0x3F);
  }
  if (value < smallest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
    return std::nullopt;
  }
  return Utf8Character{value, length};
}

}  // namespace

std::optional<std::string> EncodeWithCharacterReferences(std::string_view text,
                                                         CodePage932Encoder encode) {
  // The common title converts whole; only one with a character code page 932 lacks (or text
  // that is not UTF-8) goes character by character.
  if (auto whole = encode(text)) return whole;
  std::string result;
  while (!text.empty()) {
    const auto character = FirstCharacter(text);
    if (!character) return std::nullopt;
    const std::string_view bytes = text.substr(0, character->length);
    if (auto encoded = encode(bytes)) {
      result += *encoded;
    } else {
      result += "&#" + std::to_string(static_cast<std::uint32_t>(character->value)) + ";";
    }
    text.remove_prefix(character->length);
  }
  return result;
}

}  // namespace morvel
