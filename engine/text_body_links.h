// Automatic links on the text page: how far an address goes, whether an "h" starts one (the
// search's state there), and the anchor written around it. The rules themselves are
// text/links.h's; these are the text page writer's steps over a block of text.
#pragma once

#include <cstddef>
#include <string_view>

#include "engine/page_cursor.h"
#include "engine/page_writer.h"
#include "engine/text_body_replacements.h"
#include "text/links.h"
#include "text/scan_path.h"

namespace morvel {

// Where an address that runs from `from` on stops in `block`: at the byte that ends it
// (`decided`), or where the block ends or leaves undecided whether an entity ends it. With
// escaping off, an "&" in the text may start an entity that ends the address.
struct AddressStop {
  std::size_t at;
  bool decided;
};
AddressStop AddressEnd(std::string_view block, std::size_t from, bool escaping);
#ifdef MORVEL_AVX2_SCAN
// The same, 32 bytes at a time with AVX2, for code compiled for it.
AddressStop AddressEndAvx2(std::string_view block, std::size_t from, bool escaping);
#endif

// The search for "http://" at any position of a block, replayed from the last position it is
// known at, or from the last byte after which it rests (most bytes).
class SearchReplay {
 public:
  explicit SearchReplay(LeadByteRule rule) : rule_(rule), knownState_(rule) {}

  // The search stands at `state` before block[at].
  void Know(std::size_t at, LinkSearch state) {
    known_ = at;
    knownState_ = state;
  }
  // The search's state before block[at], at or after the known position; it becomes known.
  LinkSearch At(std::string_view block, std::size_t at);

 private:
  LeadByteRule rule_;
  std::size_t known_ = 0;
  LinkSearch knownState_;
};

// Writes the anchor of `address` (whose bytes do not end it): ANCHOR_OPEN, the address
// escaped, ANCHOR_MIDDLE, the same again, ANCHOR_CLOSE. Memory does not grow with the address.
[[nodiscard]] PageCursor PutAnchor(PageCursor out, PageWriter& page, std::string_view address,
                                   const Replacements& replacements);

}  // namespace morvel
