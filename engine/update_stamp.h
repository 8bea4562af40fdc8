// The "updated on" box at the top right of a page.
#pragma once

#include <string>
#include <string_view>

#include "engine/conversion_options.h"
#include "engine/outside_world.h"

namespace morvel {

// The date text of `time`: "2002年　3月16日　9時5分" in the kanji style, "2002　3/16　9:5" in
// the numeric style (numbers without leading zeros, ideographic spaces).
std::string FormatUpdateStamp(const LocalTime& time, StampStyle style);

// The box's markup around `stampText`; it ends in "<BR>" with no line end.
std::string UpdateBox(std::string_view stampText);

}  // namespace morvel
