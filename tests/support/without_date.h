// Pages written at different moments differ only in the update box's date; this drops it so
// that two pages can be compared byte for byte.
#pragma once

#include <string>

namespace morvel::testing {

inline std::string WithoutDate(std::string page) {
  const std::string open = "<SPAN style=\"font-size:10px\">";
  const auto start = page.find(open);
  if (start == std::string::npos) return page;
  const auto end = page.find("</SPAN>", start);
  if (end == std::string::npos) return page;
  return page.erase(start + open.size(), end - start - open.size());
}

}  // namespace morvel::testing
