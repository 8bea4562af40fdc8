#include "engine/line_pipeline.h"

#include "text/escape.h"
#include "text/line_tags.h"
#include "text/links.h"

namespace morvel {

LinePipeline::LinePipeline(const ConversionOptions& options)
    : options_(options), paragraphState_(PARAGRAPH_AFTER_BREAK) {}

void LinePipeline::WriteLine(std::string_view line, Sink& page) {
  EscapeLine(line, options_.escapeSpecials, escaped_);
  std::string* current = &escaped_;
  if (options_.autoLinkEnabled == 1) {
    LinkAddresses(escaped_, linked_);
    current = &linked_;
  }
  if (options_.lineTagsEnabled != 1) {
    page.Write(*current);
  } else if (options_.lineTagMode == 1) {
    TagLineEnd(*current);
    page.Write(*current);
  } else {
    paragraphState_ = WriteParagraphLine(*current, paragraphState_, page);
  }
}

}  // namespace morvel
