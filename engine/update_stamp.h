// The "updated on" box at the top right of a page.
#pragma once

#include <string>
#include <string_view>

#include "engine/outside_world.h"

namespace morvel {

inline constexpr int STAMP_STYLE_NUMERIC = 0;
inline constexpr int STAMP_STYLE_KANJI = 1;

// The date text of `time`: style 1 "2002年　3月16日　9時5分", style 0 "2002　3/16　9:5"
// (numbers without leading zeros, ideographic spaces). Any other style gives an empty text.
std::string FormatUpdateStamp(const LocalTime& time, int style);

// The box's markup around `stampText`; it ends in "<BR>" with no line end.
std::string UpdateBox(std::string_view stampText);

}  // namespace morvel
