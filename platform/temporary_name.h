// The name of the hidden file that holds a page while it is written: "." + the page's name +
// this suffix, in the page's folder. A conversion of the page removes a stale one, left by a
// run that was killed.
#pragma once

#include <string_view>

namespace morvel {

inline constexpr std::string_view TEMPORARY_SUFFIX = ".morvel-tmp";

}  // namespace morvel
