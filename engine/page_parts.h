// The fixed parts of every page.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "engine/conversion_options.h"
#include "engine/outside_world.h"
#include "text/sink.h"

namespace morvel {

inline constexpr std::string_view PAGE_MARKER = "<!--MORVEL1.3-->\n";
inline constexpr std::string_view PAGE_FOOTER = "\n</BODY>\n</HTML>";

// The marker comment, the head with the title exactly as given (nothing is escaped) and the
// colours, and the update box when the stamp is on.
void WritePageHead(Sink& page, const ConversionOptions& options, std::string_view title,
                   Clock& clock);

// The page title for UTF-8 `text`: code page 932 bytes, a character that code page 932 lacks
// written as a numeric character reference. Nothing when `text` is not UTF-8.
std::optional<std::string> PageTitle(std::string_view text);

}  // namespace morvel
