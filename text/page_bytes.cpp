#include "text/page_bytes.h"

#include <algorithm>
#include <cstring>

namespace morvel {

namespace {

// Pieces shorter than this are copied byte by byte: a call to memchr costs more than it saves
// on the short tags written between lines.
constexpr std::size_t SHORT_PIECE = 16;
constexpr std::size_t FIRST_CAPACITY = 64 * 1024;

// Copies `text` to `out` with every "\n" written as CR LF; returns the end of what it wrote.
char* CopyWithCrLf(std::string_view text, char* out) {
  const char* from = text.data();
  const char* const end = from + text.size();
  if (text.size() < SHORT_PIECE) {
    for (; from != end; ++from) {
      if (*from == '\n') *out++ = '\r';
      *out++ = *from;
    }
    return out;
  }
  for (;;) {
    const auto* lineFeed = static_cast<const char*>(std::memchr(from, '\n', end - from));
    const char* const stop = lineFeed ? lineFeed : end;
    std::memcpy(out, from, static_cast<std::size_t>(stop - from));
    out += stop - from;
    if (!lineFeed) return out;
    *out++ = '\r';
    *out++ = '\n';
    from = lineFeed + 1;
  }
}

}  // namespace

char* PageBytes::Reserve(std::size_t count) {
  if (capacity_ - size_ < count) {
    const std::size_t capacity = std::max({size_ + count, 2 * capacity_, FIRST_CAPACITY});
    // Left uninitialised (the web build's library has no make_unique_for_overwrite).
    std::unique_ptr<char[]> grown(new char[capacity]);
    if (size_ > 0) std::memcpy(grown.get(), data_.get(), size_);
    data_ = std::move(grown);
    capacity_ = capacity;
  }
  return data_.get() + size_;
}

void PageBytes::Write(std::string_view text) {
  // Every byte may become two.
  CommitTo(CopyWithCrLf(text, Reserve(2 * text.size())));
}

}  // namespace morvel
