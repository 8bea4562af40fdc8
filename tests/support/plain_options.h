// Switches that leave lines as they are read, so that a test sees only the page's frame, and
// requests made with them.
#pragma once

#include <string>

#include "engine/conversion_options.h"
#include "engine/morvel.h"

namespace morvel::testing {

inline ConversionOptions PlainOptions() {
  ConversionOptions options;
  options.stampEnabled = false;
  options.lineTagsEnabled = false;
  options.autoLinkEnabled = false;
  options.escapeSpecials = false;
  return options;
}

// A request to convert `source` into `target` under `options`, with the title "T".
inline ConversionRequest RequestFor(std::string source, std::string target,
                                    const ConversionOptions& options = PlainOptions()) {
  ConversionRequest request;
  request.sourcePath = std::move(source);
  request.targetPath = std::move(target);
  request.options = options;
  request.title = "T";
  return request;
}

}  // namespace morvel::testing
