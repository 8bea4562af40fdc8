#include "text/line_tags.h"

namespace morvel {

void TagLineEnd(std::string& line) {
  if (line.empty() || line.back() != '\n') return;
  line.pop_back();
  line.append("<BR>\n");
}

int WriteParagraphLine(std::string_view line, int paragraphState, Sink& page) {
  if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
  if (line.empty()) {
    page.Write(paragraphState == PARAGRAPH_AFTER_TEXT ? "<P>\n" : "<BR>\n");
    return PARAGRAPH_AFTER_BREAK;
  }
  page.Write(paragraphState == PARAGRAPH_AFTER_TEXT ? "<BR>\n" : "\n");
  page.Write(line);
  return PARAGRAPH_AFTER_TEXT;
}

}  // namespace morvel
