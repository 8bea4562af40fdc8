#include "text/encoding_classifier.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "text/utf8.h"

namespace morvel {

namespace {

constexpr std::uint64_t HIGH_BITS = 0x8080808080808080;

std::uint64_t Load64(const char* data) {
  std::uint64_t word;
  std::memcpy(&word, data, sizeof word);
  return word;
}

// The index of the first byte of `word` (as loaded from memory) whose high bit is set; `word`
// has one.
std::size_t FirstHighByte(std::uint64_t word) {
  const std::uint64_t high = word & HIGH_BITS;
  if constexpr (std::endian::native == std::endian::little) {
    return static_cast<std::size_t>(std::countr_zero(high)) / 8;
  } else {
    return static_cast<std::size_t>(std::countl_zero(high)) / 8;
  }
}

// The first byte at or after `i` that is 0x80 or above, or `size`. Most text is ASCII, so it
// is looked at 16 bytes at a time.
std::size_t SkipAscii(const char* data, std::size_t i, std::size_t size) {
  while (size - i >= 16) {
    if ((Load64(data + i) | Load64(data + i + 8)) & HIGH_BITS) break;
    i += 16;
  }
  while (size - i >= 8) {
    const std::uint64_t word = Load64(data + i);
    if (word & HIGH_BITS) return i + FirstHighByte(word);
    i += 8;
  }
  while (i < size && static_cast<unsigned char>(data[i]) < 0x80) ++i;
  return i;
}

#ifdef MORVEL_SSE2_SCAN
// The kinds of 16 bytes, bit i for byte i. `notLead3`: F0 on, E0 and ED, none of which starts
// a character passed over 64 bytes at a time.
struct ByteKinds {
  std::uint64_t high, continuation, atLeastC2, atLeastE0, notLead3;
};

// (Helpers here are functions compiled for SSE2, not lambdas, which would be compiled without.)
MORVEL_SSE2_CODE inline std::uint64_t BitsOf(__m128i mask) {
  return static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(mask)));
}

MORVEL_SSE2_CODE inline ByteKinds KindsOf(__m128i b) {
  // Read as signed, 80-BF is -128 to -65, C2 on is -62 on, E0 on is -32 on, F0 on is -16 on.
  const __m128i e0OrEd = _mm_or_si128(_mm_cmpeq_epi8(b, _mm_set1_epi8(static_cast<char>(0xE0))),
                                      _mm_cmpeq_epi8(b, _mm_set1_epi8(static_cast<char>(0xED))));
  return {BitsOf(b), BitsOf(_mm_cmpgt_epi8(_mm_set1_epi8(-64), b)),
          BitsOf(_mm_cmpgt_epi8(b, _mm_set1_epi8(-63))),
          BitsOf(_mm_cmpgt_epi8(b, _mm_set1_epi8(-33))),
          BitsOf(_mm_or_si128(_mm_cmpgt_epi8(b, _mm_set1_epi8(-17)), e0OrEd))};
}

// How many of the 64 bytes at `data` (which start a character) hold nothing but ASCII and
// two- and three-byte characters whose every continuation byte is allowed (leads C2 to DF, E1
// to EC, EE and EF), whole characters only; 0 when they hold anything else, which is then read
// a character at a time. Accepts only valid UTF-8 and finds no fault itself: every other form,
// and every fault, is FirstUtf8Character()'s to read.
MORVEL_SSE2_CODE std::size_t CommonUtf8Length(const char* data, bool& nonAscii) {
  const __m128i* const parts = reinterpret_cast<const __m128i*>(data);
  const __m128i b0 = _mm_loadu_si128(parts), b1 = _mm_loadu_si128(parts + 1),
                b2 = _mm_loadu_si128(parts + 2), b3 = _mm_loadu_si128(parts + 3);
  if (_mm_movemask_epi8(_mm_or_si128(_mm_or_si128(b0, b1), _mm_or_si128(b2, b3))) == 0) {
    return 64;
  }
  nonAscii = true;
  const ByteKinds k0 = KindsOf(b0), k1 = KindsOf(b1), k2 = KindsOf(b2), k3 = KindsOf(b3);
  const auto all = [&](std::uint64_t ByteKinds::*kind) {
    return k0.*kind | k1.*kind << 16 | k2.*kind << 32 | k3.*kind << 48;
  };
  const std::uint64_t high = all(&ByteKinds::high), continuation = all(&ByteKinds::continuation);
  const std::uint64_t atLeastE0 = all(&ByteKinds::atLeastE0);
  // C2 to DF, and E1 to EF but ED: leads whose continuation bytes are all allowed. C0 and C1
  // start only overlong forms, E0 and ED sometimes, F0 on four bytes: all read one at a time.
  const std::uint64_t lead2 = high & all(&ByteKinds::atLeastC2) & ~atLeastE0;
  const std::uint64_t lead3 = high & atLeastE0 & ~all(&ByteKinds::notLead3);
  // Every byte is ASCII, one of those leads, or a continuation byte where a lead calls for one
  // (those past the 64 bytes are not looked at).
  if ((high & ~continuation & ~lead2 & ~lead3) != 0) return 0;
  if (continuation != ((lead2 | lead3) << 1 | lead3 << 2)) return 0;
  // A character cut off by the end of the 64 bytes is left for the next look.
  const std::uint64_t cutOff =
      (lead3 & (std::uint64_t{3} << 62)) | (lead2 & (std::uint64_t{1} << 63));
  return cutOff == 0 ? 64 : static_cast<std::size_t>(std::countr_zero(cutOff));
}

#ifdef MORVEL_SSSE3_SCAN
// The UTF-8 check of 16 bytes at a time with byte shuffles. Every fault of UTF-8 shows in a
// byte and the one before it, except how many continuation bytes a lead calls for:
// - three tables, looked up by the high and the low half of the byte before and the high half
//   of the byte itself, give each fault of such a pair a bit; the three answers ANDed keep the
//   bits of the faults the pair has;
// - the byte two before a third byte, or three before a fourth, is a lead of E0 on or F0 on:
//   that byte must be a continuation byte after a continuation byte (the pair's bit 7), and a
//   continuation byte after one must be such a byte;
// - F5 to FF are never UTF-8.
enum PairFault : std::uint8_t {
  LEAD_THEN_NO_CONTINUATION = 1 << 0,
  ASCII_THEN_CONTINUATION = 1 << 1,
  OVERLONG_2 = 1 << 2,  // C0, C1
  OVERLONG_3 = 1 << 3,  // E0 80 to E0 9F
  SURROGATE = 1 << 4,   // ED A0 to ED BF
  OVERLONG_4 = 1 << 5,  // F0 80 to F0 8F
  TOO_LARGE = 1 << 6,   // F4 90 to F4 BF
  CONTINUATION_THEN_CONTINUATION = 1 << 7,
};

constexpr std::uint8_t ANY_LOW_HALF =
    LEAD_THEN_NO_CONTINUATION | ASCII_THEN_CONTINUATION | CONTINUATION_THEN_CONTINUATION;
constexpr std::uint8_t CONTINUATION_FOLLOWS =
    ASCII_THEN_CONTINUATION | OVERLONG_2 | CONTINUATION_THEN_CONTINUATION;

// By the high half of the first byte of a pair.
constexpr std::uint8_t FIRST_HIGH[16] = {ASCII_THEN_CONTINUATION,
                                         ASCII_THEN_CONTINUATION,
                                         ASCII_THEN_CONTINUATION,
                                         ASCII_THEN_CONTINUATION,
                                         ASCII_THEN_CONTINUATION,
                                         ASCII_THEN_CONTINUATION,
                                         ASCII_THEN_CONTINUATION,
                                         ASCII_THEN_CONTINUATION,
                                         CONTINUATION_THEN_CONTINUATION,
                                         CONTINUATION_THEN_CONTINUATION,
                                         CONTINUATION_THEN_CONTINUATION,
                                         CONTINUATION_THEN_CONTINUATION,
                                         LEAD_THEN_NO_CONTINUATION | OVERLONG_2,
                                         LEAD_THEN_NO_CONTINUATION,
                                         LEAD_THEN_NO_CONTINUATION | OVERLONG_3 | SURROGATE,
                                         LEAD_THEN_NO_CONTINUATION | OVERLONG_4 | TOO_LARGE};
// By the low half of the first byte of a pair.
constexpr std::uint8_t FIRST_LOW[16] = {ANY_LOW_HALF | OVERLONG_2 | OVERLONG_3 | OVERLONG_4,
                                        ANY_LOW_HALF | OVERLONG_2,
                                        ANY_LOW_HALF,
                                        ANY_LOW_HALF,
                                        ANY_LOW_HALF | TOO_LARGE,
                                        ANY_LOW_HALF,
                                        ANY_LOW_HALF,
                                        ANY_LOW_HALF,
                                        ANY_LOW_HALF,
                                        ANY_LOW_HALF,
                                        ANY_LOW_HALF,
                                        ANY_LOW_HALF,
                                        ANY_LOW_HALF,
                                        ANY_LOW_HALF | SURROGATE,
                                        ANY_LOW_HALF,
                                        ANY_LOW_HALF};
// By the high half of the second byte of a pair.
constexpr std::uint8_t SECOND_HIGH[16] = {LEAD_THEN_NO_CONTINUATION,
                                          LEAD_THEN_NO_CONTINUATION,
                                          LEAD_THEN_NO_CONTINUATION,
                                          LEAD_THEN_NO_CONTINUATION,
                                          LEAD_THEN_NO_CONTINUATION,
                                          LEAD_THEN_NO_CONTINUATION,
                                          LEAD_THEN_NO_CONTINUATION,
                                          LEAD_THEN_NO_CONTINUATION,
                                          CONTINUATION_FOLLOWS | OVERLONG_3 | OVERLONG_4,
                                          CONTINUATION_FOLLOWS | OVERLONG_3 | TOO_LARGE,
                                          CONTINUATION_FOLLOWS | SURROGATE | TOO_LARGE,
                                          CONTINUATION_FOLLOWS | SURROGATE | TOO_LARGE,
                                          LEAD_THEN_NO_CONTINUATION,
                                          LEAD_THEN_NO_CONTINUATION,
                                          LEAD_THEN_NO_CONTINUATION,
                                          LEAD_THEN_NO_CONTINUATION};

MORVEL_SSSE3_CODE inline __m128i TableOf(const std::uint8_t (&table)[16]) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(table));
}

// The faults of the 16 bytes `now`, which follow `before`: non-zero bytes where there are some.
MORVEL_SSSE3_CODE inline __m128i FaultsOf(__m128i now, __m128i before, __m128i firstHigh,
                                          __m128i firstLow, __m128i secondHigh) {
  const __m128i lowHalf = _mm_set1_epi8(0x0F);
  const __m128i previous1 = _mm_alignr_epi8(now, before, 15);
  const __m128i previous2 = _mm_alignr_epi8(now, before, 14);
  const __m128i previous3 = _mm_alignr_epi8(now, before, 13);
  const __m128i pair = _mm_and_si128(
      _mm_and_si128(
          _mm_shuffle_epi8(firstHigh, _mm_and_si128(_mm_srli_epi16(previous1, 4), lowHalf)),
          _mm_shuffle_epi8(firstLow, _mm_and_si128(previous1, lowHalf))),
      _mm_shuffle_epi8(secondHigh, _mm_and_si128(_mm_srli_epi16(now, 4), lowHalf)));
  // Bit 7 where the byte two back is E0 or above (E0 - 60 = 80), or the byte three back F0 or
  // above (F0 - 70 = 80); lower bits as they come, masked off.
  const __m128i third = _mm_subs_epu8(previous2, _mm_set1_epi8(0x60));
  const __m128i fourth = _mm_subs_epu8(previous3, _mm_set1_epi8(0x70));
  const __m128i needed =
      _mm_and_si128(_mm_or_si128(third, fourth), _mm_set1_epi8(static_cast<char>(0x80)));
  const __m128i neverUtf8 = _mm_subs_epu8(now, _mm_set1_epi8(static_cast<char>(0xF4)));
  return _mm_or_si128(_mm_xor_si128(pair, needed), neverUtf8);
}

// The valid length of the `checked` bytes at `data`, checked 64 at a time: they hold no fault,
// and the last three may start a character that the next 64 complete. `sawHigh`: some of
// them may be 0x80 or above; `nonAscii` is set when a byte of the valid ones is.
std::size_t WholeCharacters(const char* data, std::size_t checked, bool sawHigh, bool& nonAscii) {
  if (checked == 0) return 0;
  const auto last = [&](std::size_t back) {
    return static_cast<unsigned char>(data[checked - back]);
  };
  const std::size_t valid = checked - (last(1) >= 0xC0   ? 1
                                       : last(2) >= 0xE0 ? 2
                                       : last(3) >= 0xF0 ? 3
                                                         : 0);
  if (sawHigh && !nonAscii) {
    nonAscii = std::any_of(data, data + valid, [](char byte) { return byte & 0x80; });
  }
  return valid;
}

// How many of the bytes at `data` (which start a character) are valid UTF-8 as
// FirstUtf8Character() reads it, checked 64 at a time, whole characters only; it stops before
// the 64 bytes that hold the first fault (which are then read a character at a time) and
// before a character cut off by the last 64 it checked.
MORVEL_SSSE3_CODE std::size_t ValidUtf8Length(const char* data, std::size_t size, bool& nonAscii) {
  const __m128i firstHigh = TableOf(FIRST_HIGH), firstLow = TableOf(FIRST_LOW),
                secondHigh = TableOf(SECOND_HIGH);
  const __m128i* const parts = reinterpret_cast<const __m128i*>(data);
  // The bytes before the first are taken as ASCII: a character starts there.
  __m128i before = _mm_setzero_si128();
  std::size_t checked = 0;  // the bytes of the 64s checked so far
  bool sawHigh = nonAscii;
  for (; size - checked >= 64; checked += 64) {
    const __m128i* const part = parts + checked / 16;
    const __m128i b0 = _mm_loadu_si128(part), b1 = _mm_loadu_si128(part + 1),
                  b2 = _mm_loadu_si128(part + 2), b3 = _mm_loadu_si128(part + 3);
    const __m128i high = _mm_or_si128(_mm_or_si128(b0, b1), _mm_or_si128(b2, b3));
    // (Continuation bytes after an earlier 64 are checked with them.)
    if (_mm_movemask_epi8(_mm_or_si128(high, before)) != 0) {
      const __m128i faults =
          _mm_or_si128(_mm_or_si128(FaultsOf(b0, before, firstHigh, firstLow, secondHigh),
                                    FaultsOf(b1, b0, firstHigh, firstLow, secondHigh)),
                       _mm_or_si128(FaultsOf(b2, b1, firstHigh, firstLow, secondHigh),
                                    FaultsOf(b3, b2, firstHigh, firstLow, secondHigh)));
      if (_mm_movemask_epi8(_mm_cmpeq_epi8(faults, _mm_setzero_si128())) != 0xFFFF) break;
      sawHigh = true;
    }
    before = b3;
  }
  return WholeCharacters(data, checked, sawHigh, nonAscii);
}

#ifdef MORVEL_AVX2_SCAN
// The same check 32 bytes at a time with AVX2, compiled for it whatever the build's target and
// called only where the processor has it. A byte's predecessors come from the same 128-bit lane
// or, for the first bytes of the upper lane, from the lower one; for the lower lane from the
// 32 bytes before.
__attribute__((target("avx2"))) inline __m256i TableOfAvx2(const std::uint8_t (&table)[16]) {
  return _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(table)));
}

__attribute__((target("avx2"))) inline __m256i FaultsOfAvx2(__m256i now, __m256i before,
                                                            __m256i firstHigh, __m256i firstLow,
                                                            __m256i secondHigh) {
  const __m256i lowHalf = _mm256_set1_epi8(0x0F);
  // Per lane: the 16 bytes before `now`'s lane, then the lane itself.
  const __m256i earlier = _mm256_permute2x128_si256(before, now, 0x21);
  const __m256i previous1 = _mm256_alignr_epi8(now, earlier, 15);
  const __m256i previous2 = _mm256_alignr_epi8(now, earlier, 14);
  const __m256i previous3 = _mm256_alignr_epi8(now, earlier, 13);
  const __m256i pair = _mm256_and_si256(
      _mm256_and_si256(_mm256_shuffle_epi8(
                           firstHigh, _mm256_and_si256(_mm256_srli_epi16(previous1, 4), lowHalf)),
                       _mm256_shuffle_epi8(firstLow, _mm256_and_si256(previous1, lowHalf))),
      _mm256_shuffle_epi8(secondHigh, _mm256_and_si256(_mm256_srli_epi16(now, 4), lowHalf)));
  const __m256i third = _mm256_subs_epu8(previous2, _mm256_set1_epi8(0x60));
  const __m256i fourth = _mm256_subs_epu8(previous3, _mm256_set1_epi8(0x70));
  const __m256i needed =
      _mm256_and_si256(_mm256_or_si256(third, fourth), _mm256_set1_epi8(static_cast<char>(0x80)));
  const __m256i neverUtf8 = _mm256_subs_epu8(now, _mm256_set1_epi8(static_cast<char>(0xF4)));
  return _mm256_or_si256(_mm256_xor_si256(pair, needed), neverUtf8);
}

// ValidUtf8Length() with AVX2: the same answer, from the same checks.
__attribute__((target("avx2"))) std::size_t ValidUtf8LengthAvx2(const char* data, std::size_t size,
                                                                bool& nonAscii) {
  const __m256i firstHigh = TableOfAvx2(FIRST_HIGH), firstLow = TableOfAvx2(FIRST_LOW),
                secondHigh = TableOfAvx2(SECOND_HIGH);
  const __m256i* const parts = reinterpret_cast<const __m256i*>(data);
  __m256i before = _mm256_setzero_si256();
  std::size_t checked = 0;
  bool sawHigh = nonAscii;
  for (; size - checked >= 64; checked += 64) {
    const __m256i* const part = parts + checked / 32;
    const __m256i b0 = _mm256_loadu_si256(part), b1 = _mm256_loadu_si256(part + 1);
    const __m256i high = _mm256_or_si256(_mm256_or_si256(b0, b1), before);
    if (_mm256_movemask_epi8(high) != 0) {
      const __m256i faults =
          _mm256_or_si256(FaultsOfAvx2(b0, before, firstHigh, firstLow, secondHigh),
                          FaultsOfAvx2(b1, b0, firstHigh, firstLow, secondHigh));
      if (!_mm256_testz_si256(faults, faults)) break;
      sawHigh = true;
    }
    before = b1;
  }
  return WholeCharacters(data, checked, sawHigh, nonAscii);
}
#endif  // MORVEL_AVX2_SCAN
#endif  // MORVEL_SSSE3_SCAN
#endif  // MORVEL_SSE2_SCAN

// True when the first `count` bytes of a `length`-byte sequence can be completed into a valid
// character. Only the second byte is ever restricted (after E0, ED, F0 and F4), to the low or
// the high end of the continuation bytes, so trying both ends answers for every completion.
bool CanBeCompleted(const char* bytes, std::size_t count, std::size_t length) {
  for (const char filler : {'\x80', '\xBF'}) {
    char candidate[4] = {filler, filler, filler, filler};
    std::memcpy(candidate, bytes, count);
    if (FirstUtf8Character(std::string_view(candidate, length))) return true;
  }
  return false;
}

}  // namespace

// ---- Utf8Scan -------------------------------------------------------------------------------

std::size_t Utf8Scan::CompleteCarried(std::string_view& block) {
  const std::size_t length = Utf8SequenceLength(carried_.View()[0]);
  if (!carried_.FillTo(length, block)) {
    return CanBeCompleted(carried_.View().data(), carried_.Size(), length) ? ALL_VALID : 0;
  }
  const bool valid = FirstUtf8Character(carried_.View()).has_value();
  carried_.Clear();
  return valid ? ALL_VALID : 0;
}

std::size_t Utf8Scan::Scan(std::string_view block) {
  if (block.empty()) return ALL_VALID;  // (its data may be null: no copying from it)
  std::size_t offset = 0;
  if (!carried_.Empty()) {
    const std::size_t size = block.size();
    if (CompleteCarried(block) != ALL_VALID) return 0;
    offset = size - block.size();
  }
  const char* data = block.data();
  const std::size_t size = block.size();
  std::size_t i = 0;
#ifdef MORVEL_SSE2_SCAN
  // Where reading a character at a time may give way to 64 bytes at once again.
  std::size_t slowUntil = 0;
#endif
  while (i < size) {
#ifdef MORVEL_SSE2_SCAN
#ifdef MORVEL_AVX2_SCAN
    if (avx2_ && i >= slowUntil) {
      i += ValidUtf8LengthAvx2(data + i, size - i, sawNonAscii_);
      slowUntil = i + 64;
      if (i == size) break;
    }
#endif
#ifdef MORVEL_SSSE3_SCAN
    if (ssse3_ && i >= slowUntil) {
      i += ValidUtf8Length(data + i, size - i, sawNonAscii_);
      slowUntil = i + 64;
      if (i == size) break;
    }
#endif
    if (sse2_ && i >= slowUntil) {
      while (size - i >= 64) {
        const std::size_t common = CommonUtf8Length(data + i, sawNonAscii_);
        if (common == 0) break;
        i += common;
      }
      slowUntil = i + 64;
      if (i == size) break;
    }
#endif
    if (static_cast<unsigned char>(data[i]) < 0x80) {
      i = SkipAscii(data, i, size);
      continue;
    }
    const std::size_t length = Utf8SequenceLength(data[i]);
    if (length == 0) return offset + i;
    if (size - i < length) {
      if (!CanBeCompleted(data + i, size - i, length)) return offset + i;
      carried_.Keep(std::string_view(data + i, size - i));
      sawNonAscii_ = true;
      return ALL_VALID;
    }
    if (!FirstUtf8Character(std::string_view(data + i, length))) return offset + i;
    sawNonAscii_ = true;
    i += length;
  }
  return ALL_VALID;
}

// ---- EncodingClassifier ---------------------------------------------------------------------

std::size_t EncodingClassifier::MarkLength() const {
  switch (encoding_) {
    case DetectedEncoding::Utf8WithMark:
      return UTF8_MARK.size();
    case DetectedEncoding::Utf16Le:
    case DetectedEncoding::Utf16Be:
      return UTF16LE_MARK.size();
    default:
      return 0;
  }
}

bool EncodingClassifier::ReadMark(std::string_view& block) {
  bool couldBeMark = true;
  while (couldBeMark && !block.empty()) {
    head_[headLength_++] = block.front();
    block.remove_prefix(1);
    const std::string_view head(head_, headLength_);
    for (const auto& [mark, encoding] : {std::pair{UTF8_MARK, DetectedEncoding::Utf8WithMark},
                                         std::pair{UTF16LE_MARK, DetectedEncoding::Utf16Le},
                                         std::pair{UTF16BE_MARK, DetectedEncoding::Utf16Be}}) {
      if (head == mark) {
        encoding_ = encoding;
        markChecked_ = true;
        return true;
      }
    }
    couldBeMark = UTF8_MARK.starts_with(head) || UTF16LE_MARK.starts_with(head) ||
                  UTF16BE_MARK.starts_with(head);
  }
  if (couldBeMark) return false;
  // Not a mark: its bytes are the start of the text.
  markChecked_ = true;
  ScanText(std::string_view(head_, headLength_));
  return true;
}

void EncodingClassifier::ScanText(std::string_view bytes) {
  if (encoding_ == DetectedEncoding::Undecided && scan_.Scan(bytes) != Utf8Scan::ALL_VALID) {
    encoding_ = DetectedEncoding::CodePage932;
  }
}

void EncodingClassifier::DecideAtEnd(bool atLimit) {
  if (encoding_ != DetectedEncoding::Undecided) return;
  if (!markChecked_) {
    // The first bytes began like a mark and the text ended there.
    markChecked_ = true;
    ScanText(std::string_view(head_, headLength_));
    if (encoding_ != DetectedEncoding::Undecided) return;
  }
  // A character cut off by the limit may go on after it; one cut off by the end cannot.
  const bool valid = atLimit || !scan_.InsideCharacter();
  encoding_ = valid && scan_.SawNonAscii() ? DetectedEncoding::Utf8 : DetectedEncoding::CodePage932;
}

DetectedEncoding EncodingClassifier::Take(std::string_view block, bool findEndOfText) {
  if (encoding_ != DetectedEncoding::Undecided) return encoding_;
  bool atLimit = false;
  if (limit_ != WHOLE_TEXT && block.size() >= limit_ - seen_) {
    block = block.substr(0, limit_ - seen_);
    atLimit = true;
  }
  seen_ += block.size();
  // No mark holds a 0x1A, so the text as read (cut at its first 0x1A) shows any mark whole.
  const bool ended = findEndOfText && CutAtEndOfText(block);
  if (markChecked_ || ReadMark(block)) ScanText(block);
  if (ended || atLimit) DecideAtEnd(atLimit && !ended);
  return encoding_;
}

DetectedEncoding EncodingClassifier::Write(std::string_view block) { return Take(block, true); }

DetectedEncoding EncodingClassifier::WriteText(std::string_view text) { return Take(text, false); }

DetectedEncoding EncodingClassifier::Finish() {
  DecideAtEnd(false);
  return encoding_;
}

// ---- Utf8Validator --------------------------------------------------------------------------

bool Utf8Validator::Write(std::string_view block) {
  if (invalid_) return false;
  const std::size_t bad = scan_.Scan(block);
  // No line feed is part of a sequence, so the line is the one its first byte stands on.
  lines_.Pass(bad == Utf8Scan::ALL_VALID ? block : block.substr(0, bad));
  invalid_ = bad != Utf8Scan::ALL_VALID;
  return !invalid_;
}

bool Utf8Validator::Finish() {
  invalid_ = invalid_ || scan_.InsideCharacter();
  return !invalid_;
}

}  // namespace morvel
