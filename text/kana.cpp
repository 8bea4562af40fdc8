#include "text/kana.h"

#include "text/utf8.h"

namespace morvel {

bool HoldsKana(std::string_view text) {
  for (std::size_t at = 0; at < text.size();) {
    const auto character = FirstUtf8Character(text.substr(at));
    if (!character) {
      ++at;
      continue;
    }
    if (IsKana(character->value)) return true;
    at += character->length;
  }
  return false;
}

}  // namespace morvel
