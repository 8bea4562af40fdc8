// What each byte of a text line becomes on the page (Replacement() in text/escape.h), held as
// short pieces for the text page writer's fixed-size copies.
#pragma once

#include <array>

#include "engine/page_cursor.h"
#include "text/escape.h"

namespace morvel {

// Every replacement is 4 to 12 bytes long, for PageCursor::PutFourToTwelve().
constexpr bool ReplacementsAreFourToTwelveBytes() {
  for (const bool escapeSpecials : {false, true}) {
    for (int byte = 0; byte < 256; ++byte) {
      const std::size_t length = Replacement(static_cast<char>(byte), escapeSpecials).size();
      if (length != 0 && (length < 4 || length > 12)) return false;
    }
  }
  return true;
}
static_assert(ReplacementsAreFourToTwelveBytes());

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
  std::array<ShortPiece, 256> pieces_{};
};

inline const Replacements& Replacements::For(bool escapeSpecials) {
  static constexpr Replacements ESCAPED(true);
  static constexpr Replacements TABS_ONLY(false);
  return escapeSpecials ? ESCAPED : TABS_ONLY;
}

}  // namespace morvel
