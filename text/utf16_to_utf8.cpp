#include "text/utf16_to_utf8.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#include "text/utf16.h"

namespace morvel {

namespace {

template <bool BIG_ENDIAN_UNITS>
char32_t UnitAt(const unsigned char* bytes) {
  return BIG_ENDIAN_UNITS ? char32_t{bytes[0]} << 8 | bytes[1] : char32_t{bytes[1]} << 8 | bytes[0];
}

// Four code units from eight bytes, unit k in bits 16k to 16k + 15.
template <bool BIG_ENDIAN_UNITS>
std::uint64_t FourUnitsAt(const unsigned char* bytes) {
  if constexpr (std::endian::native == std::endian::little) {
    std::uint64_t word;
    std::memcpy(&word, bytes, sizeof word);
    if constexpr (!BIG_ENDIAN_UNITS) return word;
    constexpr std::uint64_t LOW_BYTES = 0x00FF00FF00FF00FF;
    return (word & LOW_BYTES) << 8 | ((word >> 8) & LOW_BYTES);
  } else {
    std::uint64_t units = 0;
    for (int k = 0; k < 4; ++k)
      units |= std::uint64_t{UnitAt<BIG_ENDIAN_UNITS>(bytes + 2 * k)} << 16 * k;
    return units;
  }
}

// True when all four units are ASCII from U+0020 on: no line feed, no end of text, one byte
// each in UTF-8. Adding 0x60 to a unit below 0x80 sets its bit 7 exactly when it is 0x20 or
// more, and carries into nothing.
bool AllPlainAscii(std::uint64_t units) {
  constexpr std::uint64_t NOT_ASCII = 0xFF80FF80FF80FF80;
  constexpr std::uint64_t BIT7 = 0x0080008000800080;
  return (units & NOT_ASCII) == 0 && ((units + 0x0060006000600060) & BIT7) == BIT7;
}

// Bulk conversion; see Utf16ToUtf8::Convert().
template <bool BIG_ENDIAN_UNITS>
std::size_t ConvertUnits(const unsigned char* in, std::size_t size, char*& out,
                         TextStatus& status) {
  char* o = out;
  std::size_t i = 0;
  while (size - i >= 2) {
    if (size - i >= 8) {
      const std::uint64_t units = FourUnitsAt<BIG_ENDIAN_UNITS>(in + i);
      if (AllPlainAscii(units)) {
        o[0] = static_cast<char>(units);
        o[1] = static_cast<char>(units >> 16);
        o[2] = static_cast<char>(units >> 32);
        o[3] = static_cast<char>(units >> 48);
        o += 4;
        i += 8;
        continue;
      }
    }
    const char32_t unit = UnitAt<BIG_ENDIAN_UNITS>(in + i);
    if (unit < 0x80) {
      if (unit == END_OF_TEXT_UNIT) {
        status = TextStatus::Ended;
        break;
      }
      *o++ = static_cast<char>(unit);
      i += 2;
    } else if (unit < 0x800) {
      o[0] = static_cast<char>(0xC0 | unit >> 6);
      o[1] = static_cast<char>(0x80 | (unit & 0x3F));
      o += 2;
      i += 2;
    } else if (unit < 0xD800 || unit > 0xDFFF) {
      o[0] = static_cast<char>(0xE0 | unit >> 12);
      o[1] = static_cast<char>(0x80 | ((unit >> 6) & 0x3F));
      o[2] = static_cast<char>(0x80 | (unit & 0x3F));
      o += 3;
      i += 2;
    } else {
      if (!IsHighSurrogate(unit)) {
        status = TextStatus::Invalid;
        break;
      }
      if (size - i < 4) break;  // the low half is in the next block
      const char32_t low = UnitAt<BIG_ENDIAN_UNITS>(in + i + 2);
      if (!IsLowSurrogate(low)) {
        status = TextStatus::Invalid;
        break;
      }
      const char32_t value = SurrogatePairValue(unit, low);
      o[0] = static_cast<char>(0xF0 | value >> 18);
      o[1] = static_cast<char>(0x80 | ((value >> 12) & 0x3F));
      o[2] = static_cast<char>(0x80 | ((value >> 6) & 0x3F));
      o[3] = static_cast<char>(0x80 | (value & 0x3F));
      o += 4;
      i += 4;
    }
  }
  out = o;
  return i;
}

}  // namespace

std::size_t Utf16ToUtf8::Convert(std::string_view in, char*& out) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(in.data());
  return bigEndian_ ? ConvertUnits<true>(bytes, in.size(), out, status_)
                    : ConvertUnits<false>(bytes, in.size(), out, status_);
}

TextStatus Utf16ToUtf8::Write(std::string_view block, std::string& utf8) {
  // (An empty block's data may be null: no copying from it.)
  if (status_ != TextStatus::Continuing || block.empty()) return status_;
  // Every two bytes give at most three of UTF-8, and a pair's four give four.
  const std::size_t start = utf8.size();
  utf8.resize(start + (carried_.Size() + block.size()) / 2 * 3 + 3);
  char* out = utf8.data() + start;
  if (!carried_.Empty()) {
    // The carried character completed from the block: a unit, or a high surrogate and the unit
    // after it. A block too short for that leaves all of it carried.
    const auto* carried = reinterpret_cast<const unsigned char*>(carried_.View().data());
    const auto highSurrogateFirst = [&] {
      return IsHighSurrogate(bigEndian_ ? UnitAt<true>(carried) : UnitAt<false>(carried));
    };
    const bool whole =
        carried_.FillTo(2, block) && (!highSurrogateFirst() || carried_.FillTo(4, block));
    if (whole) {
      Convert(carried_.View(), out);
      carried_.Clear();
    }
  }
  if (status_ == TextStatus::Continuing && carried_.Empty()) {
    const std::size_t taken = Convert(block, out);
    if (status_ == TextStatus::Continuing) carried_.Keep(block.substr(taken));
  }
  const std::string_view written(utf8.data() + start,
                                 static_cast<std::size_t>(out - utf8.data()) - start);
  lines_.Pass(written);
  utf8.resize(start + written.size());
  return status_;
}

bool Utf16ToUtf8::Finish() {
  if (status_ == TextStatus::Continuing && !carried_.Empty()) status_ = TextStatus::Invalid;
  return status_ != TextStatus::Invalid;
}

}  // namespace morvel
