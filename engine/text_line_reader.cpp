#include "engine/text_line_reader.h"

#include <cstring>

namespace morvel {

namespace {

constexpr std::size_t READ_CHUNK_SIZE = 128 * 1024;
constexpr char END_OF_TEXT = '\x1A';

}  // namespace

TextLineReader::TextLineReader(ByteReader& source) : source_(source), buffer_(READ_CHUNK_SIZE) {}

bool TextLineReader::Refill() {
  if (exhausted_) return false;
  char* data = buffer_.data();
  const std::size_t kept = end_ - begin_;
  if (kept > 0 && begin_ > 0) std::memmove(data, data + begin_, kept);
  searched_ -= begin_;
  begin_ = 0;
  end_ = kept;
  // A line longer than half the buffer doubles it, so that every read still brings a good
  // part of a chunk and a long line costs reads in proportion to its length.
  if (buffer_.size() - kept < READ_CHUNK_SIZE / 2) {
    buffer_.resize(2 * buffer_.size());
    data = buffer_.data();
  }
  const auto count = source_.Read(data + end_, buffer_.size() - end_);
  if (!count || *count == 0) {
    failed_ = !count;
    exhausted_ = true;
    return false;
  }
  std::size_t added = *count;
  // A 0x1A ends the input: the text stops before it and nothing more is read.
  if (const void* stop = std::memchr(data + end_, END_OF_TEXT, added)) {
    added = static_cast<std::size_t>(static_cast<const char*>(stop) - (data + end_));
    exhausted_ = true;
  }
  end_ += added;
  return true;
}

bool TextLineReader::ReadLines(std::string_view& lines) {
  for (;;) {
    const char* const data = buffer_.data();
    // The last "\n" among the bytes not yet searched ends the run.
    for (std::size_t at = end_; at > searched_; --at) {
      if (data[at - 1] == '\n') {
        lines = std::string_view(data + begin_, at - begin_);
        begin_ = searched_ = at;
        return true;
      }
    }
    searched_ = end_;
    if (!Refill()) {
      if (failed_ || begin_ == end_) return false;
      lines = std::string_view(buffer_.data() + begin_, end_ - begin_);
      begin_ = searched_ = end_;
      return true;
    }
  }
}

}  // namespace morvel
