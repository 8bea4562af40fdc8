// What each byte of a text line becomes on the page (Replacement() in text/escape.h), held as
// short pieces for the text page writer's fixed-size copies.
#pragma once

#include <array>

#include "engine/page_cursor.h"
#include "text/escape.h"

namespace morvel {

// Every replacement is 4 to 20 bytes long, for PageCursor::PutFourToTwenty().
constexpr bool ReplacementsAreFourToTwentyBytes() {
  for (const PageEncoding encoding : {PageEncoding::CodePage932, PageEncoding::Utf8}) {
    for (const bool escapeSpecials : {false, true}) {
      for (int byte = 0; byte < 256; ++byte) {
        const std::size_t length =
            Replacement(static_cast<char>(byte), escapeSpecials, encoding).size();
        if (length != 0 && (length < 4 || length > 20)) return false;
      }
    }
  }
  return true;
}
static_assert(ReplacementsAreFourToTwentyBytes());

class Replacements {
 public:
  // The table of the escaping switch (on, or off: tabs only) for a page in `encoding`.
  static const Replacements& For(bool escapeSpecials, PageEncoding encoding);

  // The replacement of `byte`; empty when it stays as it is.
  const ShortPiece& operator[](char byte) const {
    return pieces_[static_cast<unsigned char>(byte)];
  }

  constexpr Replacements(bool escapeSpecials, PageEncoding encoding) {
    for (std::size_t byte = 0; byte < pieces_.size(); ++byte) {
      pieces_[byte] = ShortPiece(Replacement(static_cast<char>(byte), escapeSpecials, encoding));
    }
  }

 private:
  std::array<ShortPiece, 256> pieces_{};
};

inline const Replacements& Replacements::For(bool escapeSpecials, PageEncoding encoding) {
  static constexpr Replacements ESCAPED(true, PageEncoding::CodePage932);
  static constexpr Replacements TABS_ONLY(false, PageEncoding::CodePage932);
  static constexpr Replacements ESCAPED_UTF8(true, PageEncoding::Utf8);
  static constexpr Replacements TABS_ONLY_UTF8(false, PageEncoding::Utf8);
  if (encoding == PageEncoding::Utf8) return escapeSpecials ? ESCAPED_UTF8 : TABS_ONLY_UTF8;
  return escapeSpecials ? ESCAPED : TABS_ONLY;
}

}  // namespace morvel
