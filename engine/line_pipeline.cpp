#include "engine/line_pipeline.h"

#include "text/escape.h"
#include "text/line_tags.h"
#include "text/links.h"

namespace morvel {

LinePipeline::LinePipeline(const ConversionOptions& options)
    : options_(options), paragraphState_(PARAGRAPH_AFTER_BREAK) {}

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

}  // namespace morvel
