// The fixed parts of every page.
#pragma once

#include <string_view>

#include "engine/conversion_options.h"
#include "engine/outside_world.h"
#include "text/sink.h"

namespace morvel {

inline constexpr std::string_view PAGE_MARKER = "<!--MORVEL1.3-->\n";
inline constexpr std::string_view PAGE_FOOTER = "\n</BODY>\n</HTML>";

// The marker comment, the head with the title and colours exactly as given (nothing is
// escaped), and the update box when the stamp is on.
void WritePageHead(Sink& page, const ConversionOptions& options, std::string_view bgColour,
                   std::string_view textColour, std::string_view title, Clock& clock);

}  // namespace morvel
