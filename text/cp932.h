// Code page 932 (Shift-JIS) character boundaries.
#pragma once

namespace morvel {

// A lead byte starts a double-byte character; the byte after it is its trail byte, whatever
// its value (trail bytes include 0x40-0x7E, so they can look like "\\", "|", "h" or letters).
constexpr bool IsLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

constexpr bool IsLeadByte(char byte) { return IsLeadByte(static_cast<unsigned char>(byte)); }

}  // namespace morvel
