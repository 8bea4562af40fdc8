#include "engine/text_body_links.h"

#include <algorithm>

namespace morvel {

namespace {

// An address longer than this is escaped onto the page a piece of this size at a time.
constexpr std::size_t ADDRESS_PIECE = 4096;

// Writes `address` escaped at `out`, which has room for MAX_REPLACEMENT bytes a byte; returns
// the end. An address holds no byte that ends it, so only "&" and ">" can be replaced.
char* EscapeAddress(std::string_view address, const Replacements& replacements, char* out) {
  for (const char byte : address) {
    const ShortPiece& replacement = replacements[byte];
    if (replacement.length == 0) {
      *out++ = byte;
    } else {
      out = CopyShort(out, replacement.bytes.data(), replacement.length);
    }
  }
  return out;
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
  for (std::size_t at = from; at < block.size(); ++at) {
    const char byte = block[at];
    if (EndsAddress(byte)) return {at, true};
    if (byte == '&' && !escaping) {
      switch (AddressEndAtEntity(block.substr(at))) {
        case EntityEnd::Ends:
          return {at, true};
        case EntityEnd::Undecided:
          return {at, false};
        case EntityEnd::Continues:
          break;
      }
    }
  }
  return {block.size(), false};
}

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
