// The per-line work of a text page: every line read from the input passes through here, in
// input order, and reaches the page.
#pragma once

#include <string>
#include <string_view>

#include "engine/conversion_options.h"
#include "text/page_bytes.h"
#include "text/significant_bytes.h"
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

  // The same for a run of lines as the input holds them: each ends in LF or CR LF (both are
  // one line end; a CR anywhere else is text), except that the last line of the input may
  // have no end. Appends the page bytes, line ends as CR LF, exactly as WriteLine() would
  // write each line through a PageBytes, in one pass over the text: lines are escaped,
  // linked and tagged as they are scanned, and only a line whose addresses that pass cannot
  // decide alone goes through WriteLine().
  void WriteLines(std::string_view text, PageBytes& page);

 private:
  // Writes the line of `text` that starts at `start` through WriteLine(), its CR LF end as
  // "\n"; its end is looked for from `searchFrom` on (the bytes before hold none). Returns
  // where the next line starts.
  std::size_t WriteLineAt(std::string_view text, std::size_t start, std::size_t searchFrom,
                          PageBytes& page);

  const ConversionOptions& options_;
  int paragraphState_;
  std::string escaped_;
  std::string linked_;
  std::string tagged_;
  std::string endedLine_;
  SignificantBytes significant_;
};

}  // namespace morvel
