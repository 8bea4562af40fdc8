#include "engine/page_parts.h"

#include "engine/conversion_request.h"
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
                   Clock& clock, PageEncoding encoding, std::string_view language) {
  page.Write(PAGE_MARKER);
  if (language.empty()) {
    page.Write("<HTML>");
  } else {
    page.Write("<HTML lang=\"");
    page.Write(language);
    page.Write("\">");
  }
  page.Write("<HEAD>");
  if (encoding == PageEncoding::Utf8) page.Write(UTF8_PAGE_META);
  page.Write("<TITLE>");
  if (IsPageTitle(title)) {
    page.Write(encoding == PageEncoding::Utf8 ? std::string(title)
                                              : *Utf8ToCp932WithReferences(title));
  }
  page.Write("</TITLE></HEAD>\n<BODY bgcolor=\"");
  page.Write(HexDigits(options.bgColour));
  page.Write("\" text=\"");
  page.Write(HexDigits(options.textColour));
  page.Write("\">\n");
  if (options.stampEnabled) {
    page.Write(PageText(UpdateBox(FormatUpdateStamp(clock.Now(), options.stampStyle)), encoding));
  }
}

std::string PageText(std::string_view engineText, PageEncoding encoding) {
  if (encoding == PageEncoding::CodePage932) return std::string(engineText);
  return *Cp932ToUtf8(engineText, Unmapped::ReplacementCharacter);
}

}  // namespace morvel
