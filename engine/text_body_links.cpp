#include "engine/text_body_links.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <optional>

namespace morvel {

namespace {

// An address longer than this is escaped onto the page a piece of this size at a time.
constexpr std::size_t ADDRESS_PIECE = 4096;

// Addresses are read 8 bytes at a time as one word while no byte of the word needs a look of
// its own; the tests below are exact about whether any byte of the word passes them.
using Word = std::uint64_t;
constexpr Word ONES = 0x0101010101010101;
constexpr Word HIGHS = 0x8080808080808080;

Word LoadWord(const char* from) {
  Word word;
  std::memcpy(&word, from, sizeof word);
  return word;
}
// The index of the first byte of `word` (as loaded from memory) whose bit 7 is set in `marks`,
// which has one. Each test below sets bit 7 of the first byte that passes it exactly (what it
// sets above that byte may be wrong), so this finds the first byte that passes any of them.
std::size_t FirstMarked(Word marks) {
  if constexpr (std::endian::native == std::endian::little) {
    return static_cast<std::size_t>(std::countr_zero(marks)) / 8;
  } else {
    return static_cast<std::size_t>(std::countl_zero(marks)) / 8;
  }
}
// Nonzero when a byte of `word` is `byte`.
constexpr Word HasByte(Word word, unsigned char byte) {
  const Word x = word ^ (ONES * byte);
  return (x - ONES) & ~x & HIGHS;
}
// Nonzero when a byte of `word` is below `limit` (at most 0x80).
constexpr Word HasBelow(Word word, unsigned char limit) {
  return (word - ONES * limit) & ~word & HIGHS;
}
// Nonzero when a byte of `word` ends an address (EndsAddress()) or, with `entities`, is "&".
constexpr Word HasAddressStop(Word word, bool entities) {
  return (word & HIGHS) | HasBelow(word, 0x21) | HasByte(word, 0x7F) | HasByte(word, '"') |
         HasByte(word, '<') | (entities ? HasByte(word, '&') : 0);
}

// Writes `address` escaped at `out`, which has room for MAX_REPLACEMENT bytes a byte; returns
// the end. An address holds no byte that ends it, so only "&" and ">" can be replaced: eight
// bytes are copied at once up to the next of them.
char* EscapeAddress(std::string_view address, const Replacements& replacements, char* out) {
  const char* from = address.data();
  const char* const end = from + address.size();
  while (end - from >= static_cast<std::ptrdiff_t>(sizeof(Word))) {
    const Word word = LoadWord(from);
    // (All eight are stored: the room is there, and what follows the plain ones overwrites
    // the rest.)
    std::memcpy(out, &word, sizeof word);
    const Word replaced = HasByte(word, '&') | HasByte(word, '>');
    const std::size_t plain = replaced == 0 ? sizeof word : FirstMarked(replaced);
    out += plain;
    from += plain;
    if (plain == sizeof word) continue;
    const ShortPiece& replacement = replacements[*from++];
    if (replacement.length == 0) {
      *out++ = from[-1];
    } else {
      out = CopyShort(out, replacement.bytes.data(), replacement.length);
    }
  }
  // Fewer than eight are left. When the last eight hold no "&" and no ">", they are on the page
  // as they stand, the ones already written included: they go as one word.
  if (from != end && address.size() >= sizeof(Word)) {
    const Word last = LoadWord(end - sizeof(Word));
    if ((HasByte(last, '&') | HasByte(last, '>')) == 0) {
      const std::size_t left = static_cast<std::size_t>(end - from);
      std::memcpy(out + left - sizeof last, &last, sizeof last);
      return out + left;
    }
  }
  for (; from != end; ++from) {
    const ShortPiece& replacement = replacements[*from];
    if (replacement.length == 0) {
      *out++ = *from;
    } else {
      out = CopyShort(out, replacement.bytes.data(), replacement.length);
    }
  }
  return out;
}

// Where an address stops at block[at], a byte that ends it or, escaping off, an "&": nothing
// when the "&" starts no entity that ends the address, which goes on after it.
std::optional<AddressStop> StopAtByte(std::string_view block, std::size_t at) {
  if (block[at] != '&') return AddressStop{at, true};
  switch (AddressEndAtEntity(block.substr(at))) {
    case EntityEnd::Ends:
      return AddressStop{at, true};
    case EntityEnd::Undecided:
      return AddressStop{at, false};
    case EntityEnd::Continues:
      break;
  }
  return std::nullopt;
}

PageCursor PutLongAddress(PageCursor out, PageWriter& page, std::string_view address,
                          const Replacements& replacements) {
  for (; !address.empty(); address.remove_prefix(std::min(address.size(), ADDRESS_PIECE))) {
    const std::string_view piece = address.substr(0, ADDRESS_PIECE);
    out = out.WithRoom(page, MAX_REPLACEMENT * piece.size());
    out.PutWith([&](char* at) { return EscapeAddress(piece, replacements, at); });
  }
  return out;
}

}  // namespace

AddressStop AddressEnd(std::string_view block, std::size_t from, bool escaping) {
  std::size_t at = from;
  for (;;) {
    // The next byte that ends the address or, escaping off, is an "&".
    if (block.size() - at >= sizeof(Word)) {
      const Word stops = HasAddressStop(LoadWord(block.data() + at), !escaping);
      if (stops == 0) {
        at += sizeof(Word);
        continue;
      }
      at += FirstMarked(stops);
    } else {
      while (at < block.size() && !EndsAddress(block[at]) && (escaping || block[at] != '&')) ++at;
      if (at == block.size()) return {at, false};
    }
    if (const auto stop = StopAtByte(block, at)) return *stop;
    ++at;
  }
}

#ifdef MORVEL_AVX2_SCAN
__attribute__((target("avx2"))) AddressStop AddressEndAvx2(std::string_view block, std::size_t from,
                                                           bool escaping) {
  // An address byte is 0x21 to 0x7E, but "\"", "<" and, escaping off, "&" (which may start
  // an entity that ends it): 0x21 subtracted, it is at most 0x5D.
  const __m256i first = _mm256_set1_epi8(0x21), span = _mm256_set1_epi8(0x7E - 0x21);
  const __m256i quote = _mm256_set1_epi8('"'), less = _mm256_set1_epi8('<');
  // (Escaping on, "&" belongs to the address: "<" is compared for it once more.)
  const __m256i ampersand = _mm256_set1_epi8(escaping ? '<' : '&');
  std::size_t at = from;
  while (block.size() - at >= 32) {
    const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(block.data() + at));
    const __m256i offset = _mm256_sub_epi8(bytes, first);
    const __m256i inRange = _mm256_cmpeq_epi8(_mm256_min_epu8(offset, span), offset);
    const __m256i excluded = _mm256_or_si256(
        _mm256_or_si256(_mm256_cmpeq_epi8(bytes, quote), _mm256_cmpeq_epi8(bytes, less)),
        _mm256_cmpeq_epi8(bytes, ampersand));
    const auto stops = static_cast<std::uint32_t>(_mm256_movemask_epi8(
        _mm256_andnot_si256(_mm256_andnot_si256(excluded, inRange), _mm256_set1_epi8(-1))));
    if (stops == 0) {
      at += 32;
      continue;
    }
    at += static_cast<std::size_t>(std::countr_zero(stops));
    if (const auto stop = StopAtByte(block, at)) return *stop;
    ++at;
  }
  return AddressEnd(block, at, escaping);
}
#endif

LinkSearch SearchReplay::At(std::string_view block, std::size_t at) {
  std::size_t start = at;
  while (start > known_ && !RestsLinkSearch(block[start - 1], rule_)) --start;
  LinkSearch state = start == known_ ? knownState_ : LinkSearch(rule_);
  for (; start < at; ++start) state.Step(block[start]);
  Know(at, state);
  return state;
}

PageCursor PutAnchor(PageCursor out, PageWriter& page, std::string_view address,
                     const Replacements& replacements) {
  out = out.WithRoom(page, ANCHOR_OPEN.size());
  out.Put(ANCHOR_OPEN);
  if (address.size() <= ADDRESS_PIECE) {
    // Nearly every address: escaped once, then copied.
    out = out.WithRoom(
        page, 2 * MAX_REPLACEMENT * address.size() + ANCHOR_MIDDLE.size() + ANCHOR_CLOSE.size());
    const char* const escaped = out.At();
    out.PutWith([&](char* at) { return EscapeAddress(address, replacements, at); });
    const auto length = static_cast<std::size_t>(out.At() - escaped);
    out.Put(ANCHOR_MIDDLE);
    out.Copy(escaped, length);
  } else {
    // A long one is escaped twice, a piece at a time, so that the page buffer does not grow
    // with it.
    out = PutLongAddress(out, page, address, replacements);
    out = out.WithRoom(page, ANCHOR_MIDDLE.size());
    out.Put(ANCHOR_MIDDLE);
    out = PutLongAddress(out, page, address, replacements);
    out = out.WithRoom(page, ANCHOR_CLOSE.size());
  }
  out.Put(ANCHOR_CLOSE);
  return out;
}

}  // namespace morvel
