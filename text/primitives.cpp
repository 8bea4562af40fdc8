#include "text/primitives.h"

#include <cstring>

namespace morvel {

namespace {

constexpr unsigned char FoldAsciiLetter(unsigned char byte) {
  return (byte >= 'a' && byte <= 'z') ? static_cast<unsigned char>(byte - 0x20) : byte;
}

}  // namespace

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (FoldAsciiLetter(static_cast<unsigned char>(text[i])) !=
        FoldAsciiLetter(static_cast<unsigned char>(prefix[i]))) {
      return false;
    }
  }
  return true;
}

int StringLength(const char* text) { return static_cast<int>(std::strlen(text)); }

void ReplaceCharAt(std::string& buffer, char wanted, std::string_view replacement,
                   std::ptrdiff_t position) {
  if (position < 0 || static_cast<std::size_t>(position) >= buffer.size()) return;
  if (buffer[static_cast<std::size_t>(position)] != wanted) return;
  buffer.replace(static_cast<std::size_t>(position), 1, replacement);
}

void FindAllOccurrences(std::string_view text, std::string_view pattern,
                        std::vector<std::size_t>& offsets) {
  offsets.clear();
  if (pattern.empty()) return;
  std::size_t matched = 0;
  for (std::size_t j = 0; j < text.size(); ++j) {
    matched = (text[j] == pattern[matched]) ? matched + 1 : 0;
    if (matched == pattern.size()) {
      offsets.push_back(j + 1 - pattern.size());
      matched = 0;
    }
  }
}

}  // namespace morvel
