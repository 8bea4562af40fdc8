// The per-line work of a text page: every line read from the input passes through here, in
// input order, and reaches the page.
#pragma once

#include <string>
#include <string_view>

#include "engine/conversion_options.h"
#include "text/sink.h"

namespace morvel {

// One per conversion: it carries the "<BR>&<P>" mode's state from line to line, starting
// afresh with every conversion, and keeps its buffers so that lines cost no allocation once
// the buffers have grown to the longest line.
class LinePipeline {
 public:
  explicit LinePipeline(const ConversionOptions& options);

  // Transforms one line (with its "\n" when it has one) and writes the result to `page`:
  // escaping and tab expansion always, links when `autoLinkEnabled` is 1, then, when
  // `lineTagsEnabled` is 1, the "<BR>" mode (`lineTagMode` 1) or the "<BR>&<P>" mode.
  void WriteLine(std::string_view line, Sink& page);

 private:
  const ConversionOptions& options_;
  int paragraphState_;
  std::string escaped_;
  std::string linked_;
  std::string tagged_;
};

}  // namespace morvel
