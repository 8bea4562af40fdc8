// The switches of one conversion, as the dialog sets them. A feature is on only when its
// field is exactly 1.
#pragma once

#include <cstdint>

namespace morvel {

struct ConversionOptions {
  std::int32_t stampEnabled = 1;
  std::int32_t stampStyle = 1;  // 1 kanji date, 0 numeric date
  std::int32_t lineTagsEnabled = 1;
  std::int32_t lineTagMode = 0;  // 1 "<BR>" mode, 0 "<BR>&<P>" mode
  std::int32_t autoLinkEnabled = 1;
  std::int32_t escapeSpecials = 1;
  std::int32_t imageBorder = 0;  // picture border in pixels
};

}  // namespace morvel
