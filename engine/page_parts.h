// The fixed parts of every page.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "engine/conversion_options.h"
#include "engine/outside_world.h"
#include "text/page_encoding.h"
#include "text/sink.h"

namespace morvel {

inline constexpr std::string_view PAGE_MARKER = "<!--MORVEL1.3-->\n";
inline constexpr std::string_view PAGE_FOOTER = "\n</BODY>\n</HTML>";

// What stands right after <HEAD> on a UTF-8 page.
inline constexpr std::string_view UTF8_PAGE_META =
    "<META charset=\"UTF-8\">"
    "<META name=\"viewport\" content=\"width=device-width, initial-scale=1\">";

// The marker comment, the head with the title and the colours, and the update box when the
// stamp is on, in `encoding`. `title` is UTF-8 text, written with nothing escaped: as it is on
// a UTF-8 page, each character through the code page 932 form-or-reference rule on a code page
// 932 page. A title that is not UTF-8 is left out.
// `language`, when not empty, is named on the <HTML> element.
void WritePageHead(Sink& page, const ConversionOptions& options, std::string_view title,
                   Clock& clock, PageEncoding encoding = PageEncoding::CodePage932,
                   std::string_view language = {});

// Engine text (code page 932: a message, a file name) for a page in `encoding`.
std::string PageText(std::string_view engineText, PageEncoding encoding);

}  // namespace morvel
