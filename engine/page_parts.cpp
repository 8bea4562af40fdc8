#include "engine/page_parts.h"

#include "engine/update_stamp.h"

namespace morvel {

void WritePageHead(Sink& page, const ConversionOptions& options, std::string_view bgColour,
                   std::string_view textColour, std::string_view title, Clock& clock) {
  page.Write(PAGE_MARKER);
  page.Write("<HTML><HEAD><TITLE>");
  page.Write(title);
  page.Write("</TITLE></HEAD>\n<BODY bgcolor=\"");
  page.Write(bgColour);
  page.Write("\" text=\"");
  page.Write(textColour);
  page.Write("\">\n");
  if (options.stampEnabled == 1) {
    page.Write(UpdateBox(FormatUpdateStamp(clock.Now(), options.stampStyle)));
  }
}

}  // namespace morvel
