#include "engine/text_line_reader.h"

#include <cstring>

namespace morvel {

namespace {

constexpr std::size_t READ_CHUNK_SIZE = 256 * 1024;
constexpr char END_OF_TEXT = '\x1A';

}  // namespace

TextLineReader::TextLineReader(ByteReader& source) : source_(source), buffer_(READ_CHUNK_SIZE) {}

bool TextLineReader::Refill() {
  if (exhausted_) return false;
  const auto count = source_.Read(buffer_.data(), buffer_.size());
  if (!count || *count == 0) {
    failed_ = !count;
    exhausted_ = true;
    return false;
  }
  position_ = 0;
  end_ = *count;
  // A 0x1A ends the input: the text stops before it and nothing more is read.
  if (const void* stop = std::memchr(buffer_.data(), END_OF_TEXT, end_)) {
    end_ = static_cast<std::size_t>(static_cast<const char*>(stop) - buffer_.data());
    exhausted_ = true;
  }
  return true;
}

bool TextLineReader::ReadLine(std::string_view& line) {
  // A line that lies within the buffer is handed out where it lies; only a line that runs
  // past the buffer's end is gathered in carry_.
  carry_.clear();
  for (;;) {
    if (position_ == end_ && !Refill()) {
      if (failed_) return false;
      line = carry_;
      return !carry_.empty();
    }
    char* const data = buffer_.data();
    const std::size_t start = position_;
    const void* found = std::memchr(data + start, '\n', end_ - start);
    if (!found) {
      carry_.append(data + start, end_ - start);
      position_ = end_;
      continue;
    }
    const auto lineFeed = static_cast<std::size_t>(static_cast<const char*>(found) - data);
    position_ = lineFeed + 1;
    std::size_t length = lineFeed + 1 - start;
    // CR LF becomes "\n"; a CR anywhere else is text. The CR may have come with the previous
    // read, at the end of what is carried.
    if (lineFeed > start && data[lineFeed - 1] == '\r') {
      data[lineFeed - 1] = '\n';
      --length;
    } else if (lineFeed == start && !carry_.empty() && carry_.back() == '\r') {
      carry_.back() = '\n';
      line = carry_;
      return true;
    }
    if (carry_.empty()) {
      line = std::string_view(data + start, length);
    } else {
      carry_.append(data + start, length);
      line = carry_;
    }
    return true;
  }
}

}  // namespace morvel
