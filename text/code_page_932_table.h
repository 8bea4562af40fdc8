// The product's code page 932 table (code_page_932_table.inc) as constants, with the walk over
// every sequence it defines. Everything here works in constant expressions, so the same table
// serves conversions at run time and Japanese literals turned into code page 932 while compiling
// (cp932_literal.h).
#pragma once

#include <algorithm>
#include <cstdint>
#include <iterator>

#include "text/encoding.h"

namespace morvel::code_page_932_table {

#include "text/code_page_932_table.inc"

inline constexpr char16_t LEAD_BYTE = 0xFFFF;  // in SINGLE_BYTE

// The table's lead bytes are the ones IsLeadByte() names.
constexpr bool LeadBytesAgree() {
  for (unsigned byte = 0; byte < 0x100; ++byte) {
    if ((SINGLE_BYTE[byte] == LEAD_BYTE) != IsLeadByte(static_cast<unsigned char>(byte))) {
      return false;
    }
  }
  return true;
}
static_assert(LeadBytesAgree());

// The row of DOUBLE_BYTE for `lead` and its column for `trail` (rows and columns follow the
// lead and trail bytes in order, without the gaps between their ranges); -1 for a byte that is
// not one.
constexpr int LeadIndex(unsigned lead) {
  if (!IsLeadByte(static_cast<unsigned char>(lead))) return -1;
  return static_cast<int>(lead <= 0x9F ? lead - 0x81 : lead - 0xE0 + 0x1F);
}
constexpr int TrailIndex(unsigned trail) {
  if (!IsTrailByte(static_cast<unsigned char>(trail))) return -1;
  return static_cast<int>(trail <= 0x7E ? trail - 0x40 : trail - 0x41);
}

// True when `code` (a byte, or a lead byte and a trail byte as 0xLLTT) is the sequence written
// for the character it reads as; false for one that is only read.
constexpr bool IsWrittenForm(unsigned code) {
  return !std::binary_search(std::begin(READ_ONLY), std::end(READ_ONLY), code);
}

// Calls `visit(value, code)` for every sequence the code page defines, single bytes first, in
// the order of their codes, until it returns true. True when one did.
template <typename Visit>
constexpr bool VisitSequences(Visit visit) {
  for (unsigned byte = 0; byte < 0x100; ++byte) {
    if (SINGLE_BYTE[byte] != LEAD_BYTE && visit(SINGLE_BYTE[byte], byte)) return true;
  }
  for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
    const int row = LeadIndex(lead);
    if (row < 0) continue;
    for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
      const int column = TrailIndex(trail);
      if (column < 0) continue;
      const char16_t value = DOUBLE_BYTE[row][column];
      if (value != 0 && visit(value, lead << 8 | trail)) return true;
    }
  }
  return false;
}

}  // namespace morvel::code_page_932_table
