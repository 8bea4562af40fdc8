// The golden cases as compiled into the runner: each file's name and its text.
#pragma once

#include <string_view>
#include <vector>

namespace morvel::golden {

struct EmbeddedCase {
  std::string_view name;
  std::string_view text;
};

const std::vector<EmbeddedCase>& EmbeddedCases();

}  // namespace morvel::golden
