#include "engine/page_cursor.h"

#include <algorithm>

namespace morvel {

PageCursor PageCursor::Open(PageWriter& page, std::size_t count) {
  const std::size_t room = std::max(count, MIN_ROOM);
  char* const at = page.Bytes().Reserve(room);
  return {at, at + room};
}

void PageCursor::Close(PageWriter& page) const {
  page.Bytes().CommitTo(at_);
  page.FlushWhenFull();
}

PageCursor PageCursor::Reopen(PageWriter& page, std::size_t count) const {
  Close(page);
  return Open(page, count);
}

}  // namespace morvel
