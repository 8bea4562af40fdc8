#include "text/utf8.h"

#include <cstdint>
#include <utility>

namespace morvel {

namespace {

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

}  // namespace

std::size_t Utf8SequenceLength(char lead) {
  const auto byte = static_cast<unsigned char>(lead);
  if (byte < 0x80) return 1;
  if ((byte & 0xE0) == 0xC0) return 2;
  if ((byte & 0xF0) == 0xE0) return 3;
  if ((byte & 0xF8) == 0xF0) return 4;
  return 0;
}

std::optional<Utf8Character> FirstUtf8Character(std::string_view text) {
  const auto lead = static_cast<unsigned char>(text[0]);
  const std::size_t length = Utf8SequenceLength(text[0]);
  if (length == 1) return Utf8Character{lead, 1};
  if (length == 0 || text.size() < length) return std::nullopt;
  // The bits the lead byte carries, and the smallest value that needs this many bytes.
  char32_t value = lead & (0x7F >> length);
  const char32_t smallest = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
  for (std::size_t i = 1; i < length; ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (!IsContinuation(byte)) return std::nullopt;
    value = (value << 6) | (byte & 0x3F);
  }
  if (value < smallest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
    return std::nullopt;
  }
  return Utf8Character{value, length};
}

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
