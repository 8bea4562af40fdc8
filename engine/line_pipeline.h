// The per-line work of a text page: every line read from the input passes through here, in
// input order, and reaches the page.
#pragma once

#include <string>
#include <string_view>

#include "engine/conversion_options.h"
#include "text/sink.h"

namespace morvel {

class LinePipeline {
 public:
  explicit LinePipeline(const ConversionOptions& options);

  // Transforms one line (with its "\n" when it has one) and writes the result to `page`.
  void WriteLine(std::string_view line, Sink& page);

 private:
  const ConversionOptions& options_;
};

}  // namespace morvel
