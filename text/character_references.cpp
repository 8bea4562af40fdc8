#include "text/character_references.h"

#include "text/utf8.h"

namespace morvel {

std::optional<std::string> EncodeWithCharacterReferences(std::string_view text,
                                                         CodePage932Encoder encode) {
  // The common title converts whole; only one with a character code page 932 lacks (or text
  // that is not UTF-8) goes character by character.
  if (auto whole = encode(text)) return whole;
  std::string result;
  while (!text.empty()) {
    const auto character = FirstUtf8Character(text);
    if (!character) return std::nullopt;
    const std::string_view bytes = text.substr(0, character->length);
    if (auto encoded = encode(bytes)) {
      result += *encoded;
    } else {
      result += CharacterReference(character->value);
    }
    text.remove_prefix(character->length);
  }
  return result;
}

}  // namespace morvel
