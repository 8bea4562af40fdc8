#include "engine/text_line_reader.h"

namespace morvel {

namespace {
constexpr std::size_t READ_CHUNK_SIZE = 64 * 1024;
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
  return true;
}

bool TextLineReader::ReadLine(std::string& line) {
  line.clear();
  for (;;) {
    if (position_ == end_ && !Refill()) return !failed_ && !line.empty();
    const char* const data = buffer_.data();
    std::size_t scan = position_;
    while (scan < end_ && data[scan] != '\n' && data[scan] != '\r' && data[scan] != END_OF_TEXT) {
      ++scan;
    }
    line.append(data + position_, scan - position_);
    position_ = scan;
    if (scan == end_) continue;

    const char stop = data[scan];
    ++position_;
    if (stop == '\n') {
      line.push_back('\n');
      return true;
    }
    if (stop == END_OF_TEXT) {
      exhausted_ = true;
      position_ = end_ = 0;
      return !line.empty();
    }
    // A CR: it and an LF right after it (perhaps in the next chunk) make one line end.
    if (position_ == end_ && !Refill()) {
      if (failed_) return false;
      line.push_back('\r');
      return true;
    }
    if (buffer_[position_] == '\n') {
      ++position_;
      line.push_back('\n');
      return true;
    }
    line.push_back('\r');
  }
}

}  // namespace morvel
