#include "engine/line_pipeline.h"

#include "text/escape.h"
#include "text/line_tags.h"
#include "text/links.h"

namespace morvel {

LinePipeline::LinePipeline(const ConversionOptions& options)
    : options_(options),
      paragraphState_(PARAGRAPH_AFTER_BREAK),
      significant_(options.escapeSpecials == 1, options.autoLinkEnabled == 1) {}

void LinePipeline::WriteLine(std::string_view line, Sink& page) {
  // Each step hands on a view of the line: the line as read while no step has changed it.
  std::string_view current = EscapeLine(line, options_.escapeSpecials, escaped_);
  if (options_.autoLinkEnabled == 1) current = LinkAddresses(current, linked_);
  if (options_.lineTagsEnabled != 1) {
    page.Write(current);
  } else if (options_.lineTagMode == 1) {
    tagged_.assign(current);
    TagLineEnd(tagged_);
    page.Write(tagged_);
  } else {
    paragraphState_ = WriteParagraphLine(current, paragraphState_, page);
  }
}

std::size_t LinePipeline::WriteLineAt(std::string_view text, std::size_t start,
                                      std::size_t searchFrom, PageBytes& page) {
  const std::size_t lineFeed = text.find('\n', searchFrom);
  if (lineFeed == std::string_view::npos) {
    WriteLine(text.substr(start), page);
    return text.size();
  }
  std::string_view line = text.substr(start, lineFeed + 1 - start);
  if (lineFeed > start && text[lineFeed - 1] == '\r') {
    // CR LF is one line end, which WriteLine() takes as "\n".
    endedLine_.assign(line.substr(0, line.size() - 2)).push_back('\n');
    line = endedLine_;
  }
  WriteLine(line, page);
  return lineFeed + 1;
}

}  // namespace morvel
