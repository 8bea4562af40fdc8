// The names of the hidden files that hold pages while they are written: a dot, a short
// prefix, a random part and a suffix, in the page's folder. Every file gets a name of its own,
// never built from the page's name, so that two runs on one page never meet and the name fits
// wherever the page's own name fits.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace morvel {

inline constexpr std::string_view TEMPORARY_PREFIX = ".morvel-";
inline constexpr std::string_view TEMPORARY_SUFFIX = ".tmp";
inline constexpr std::size_t TEMPORARY_RANDOM_LENGTH = 12;  // lower-case letters and digits

// Fresh names tried before creating a temporary file is given up: a clash is as good as
// impossible, so only something systematically wrong gets near this.
inline constexpr int NAME_ATTEMPTS = 100;

// A fresh name of that shape (ASCII), different at every call.
std::string NewTemporaryName();

// True for a name of that shape: one this program may have left behind.
bool IsTemporaryName(std::string_view name);

}  // namespace morvel
