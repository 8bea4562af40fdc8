// What each byte of a text line becomes on the page (Replacement() in text/escape.h), held as
// short pieces for the text page writer's fixed-size copies.
#pragma once

#include <array>

#include "engine/page_cursor.h"
#include "text/escape.h"

namespace morvel {

class Replacements {
 public:
  // The table of the escaping switch: on, or off (tabs only).
  static const Replacements& For(bool escapeSpecials);

  // The replacement of `byte`; empty when it stays as it is.
  const ShortPiece& operator[](char byte) const {
    return pieces_[static_cast<unsigned char>(byte)];
  }

  explicit constexpr Replacements(bool escapeSpecials) {
    for (std::size_t byte = 0; byte < pieces_.size(); ++byte) {
      pieces_[byte] = ShortPiece(Replacement(static_cast<char>(byte), escapeSpecials));
    }
  }

 private:
  static_assert(MAX_REPLACEMENT <= ShortPiece::CAPACITY);
  std::array<ShortPiece, 256> pieces_{};
};

inline const Replacements& Replacements::For(bool escapeSpecials) {
  static constexpr Replacements ESCAPED(true);
  static constexpr Replacements TABS_ONLY(false);
  return escapeSpecials ? ESCAPED : TABS_ONLY;
}

}  // namespace morvel
