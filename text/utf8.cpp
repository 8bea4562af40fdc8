#include "text/utf8.h"

#include <cstdint>
#include <utility>

namespace morvel {

void AppendUtf8(char32_t value, std::string& out) {
  if (value < 0x80) {
    out.push_back(static_cast<char>(value));
    return;
  }
  // The lead byte's marker and the count of continuation bytes that follow it.
  const auto [marker, continuations] = value < 0x800     ? std::pair(0xC0u, 1)
                                       : value < 0x10000 ? std::pair(0xE0u, 2)
                                                         : std::pair(0xF0u, 3);
  out.push_back(static_cast<char>(marker | (value >> (6 * continuations))));
  for (int shift = 6 * (continuations - 1); shift >= 0; shift -= 6) {
    out.push_back(static_cast<char>(0x80 | ((value >> shift) & 0x3F)));
  }
}

std::string CharacterReference(char32_t value) {
  return "&#" + std::to_string(static_cast<std::uint32_t>(value)) + ";";
}

}  // namespace morvel
