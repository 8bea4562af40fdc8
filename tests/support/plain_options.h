// Switches that leave lines as they are read, so that a test sees only the page's frame.
#pragma once

#include "engine/conversion_options.h"

namespace morvel::testing {

inline ConversionOptions PlainOptions() {
  ConversionOptions options;
  options.stampEnabled = 0;
  options.lineTagsEnabled = 0;
  options.autoLinkEnabled = 0;
  options.escapeSpecials = 0;
  return options;
}

}  // namespace morvel::testing
