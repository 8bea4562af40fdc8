#include "engine/page_parts.h"

#include "engine/update_stamp.h"
#include "text/code_page_932.h"

namespace morvel {

std::string HexDigits(Colour colour) {
  constexpr std::string_view DIGITS = "0123456789ABCDEF";
  std::string text(6, '0');
  for (auto digit = text.rbegin(); digit != text.rend(); ++digit, colour.rgb >>= 4) {
    *digit = DIGITS[colour.rgb & 0xF];
  }
  return text;
}

void WritePageHead(Sink& page, const ConversionOptions& options, std::string_view title,
                   Clock& clock) {
  page.Write(PAGE_MARKER);
  page.Write("<HTML><HEAD><TITLE>");
  page.Write(title);
  page.Write("</TITLE></HEAD>\n<BODY bgcolor=\"");
  page.Write(HexDigits(options.bgColour));
  page.Write("\" text=\"");
  page.Write(HexDigits(options.textColour));
  page.Write("\">\n");
  if (options.stampEnabled) {
    page.Write(UpdateBox(FormatUpdateStamp(clock.Now(), options.stampStyle)));
  }
}

std::optional<std::string> PageTitle(std::string_view text) {
  return Utf8ToCp932WithReferences(text);
}

}  // namespace morvel
