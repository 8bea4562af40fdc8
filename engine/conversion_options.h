// The settings of one conversion and their defaults. The window starts with these defaults,
// and the command line and its help read them here.
#pragma once

#include <cstdint>
#include <string>

namespace morvel {

// The date in the update box: "2002年　3月16日　9時5分" or "2002　3/16　9:5".
enum class StampStyle { Numeric, Kanji };

// The line-break tags: "<BR>" at every line end, or lines of text joined by "<BR>" with an
// empty line after text made a "<P>".
enum class LineTagMode { BreaksAndParagraphs, BreaksOnly };

// A page colour, 0xRRGGBB.
struct Colour {
  std::uint32_t rgb = 0;
  friend bool operator==(Colour, Colour) = default;
};

// The six upper-case hexadecimal digits "RRGGBB" of `colour`, as the page and the window show it.
std::string HexDigits(Colour colour);

struct ConversionOptions {
  bool stampEnabled = true;
  StampStyle stampStyle = StampStyle::Kanji;
  bool lineTagsEnabled = true;
  LineTagMode lineTagMode = LineTagMode::BreaksAndParagraphs;
  bool autoLinkEnabled = true;
  bool escapeSpecials = true;
  // The picture's border in pixels, written on the page as the signed decimal of these 32 bits
  // (so 4294967295 is written -1).
  std::uint32_t imageBorder = 0;
  Colour bgColour{0xFFFFFF};
  Colour textColour{0x000000};
};

}  // namespace morvel
