#include "text/line_tags.h"

namespace morvel {

namespace {
// The tags as views of known length, so that writing them measures nothing.
constexpr std::string_view BREAK_LINE = "<BR>\n";
constexpr std::string_view PARAGRAPH_LINE = "<P>\n";
constexpr std::string_view LINE_END = "\n";
}  // namespace

void TagLineEnd(std::string& line) {
  if (line.empty() || line.back() != '\n') return;
  line.pop_back();
  line.append(BREAK_LINE);
}

int WriteParagraphLine(std::string_view line, int paragraphState, Sink& page) {
  if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
  if (line.empty()) {
    page.Write(paragraphState == PARAGRAPH_AFTER_TEXT ? PARAGRAPH_LINE : BREAK_LINE);
    return PARAGRAPH_AFTER_BREAK;
  }
  page.Write(paragraphState == PARAGRAPH_AFTER_TEXT ? BREAK_LINE : LINE_END);
  page.Write(line);
  return PARAGRAPH_AFTER_TEXT;
}

}  // namespace morvel
