#include "engine/page_cursor.h"

#include <algorithm>

namespace morvel {

PageCursor PageCursor::Open(PageWriter& page, std::size_t count) {
  const std::size_t room = std::max(count, MIN_ROOM);
  char* const at = page.Bytes().Reserve(room);
  return {at, at + room};
}

PageCursor PageCursor::Reopen(PageCursor cursor, PageWriter& page, std::size_t count) {
  cursor.Close(page);
  return Open(page, count);
}

}  // namespace morvel
