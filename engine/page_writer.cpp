#include "engine/page_writer.h"

#include <cstring>

namespace morvel {

namespace {
constexpr std::size_t FLUSH_THRESHOLD = 64 * 1024;
}

PageWriter::PageWriter(ByteWriter& file) : file_(file) { buffer_.reserve(FLUSH_THRESHOLD * 2); }

void PageWriter::Write(std::string_view bytes) {
  while (!bytes.empty()) {
    const void* found = std::memchr(bytes.data(), '\n', bytes.size());
    if (!found) {
      // A long run without line ends goes to the file as it is, not through the buffer.
      if (bytes.size() >= FLUSH_THRESHOLD) {
        Flush();
        if (!failed_ && !file_.Write(bytes)) failed_ = true;
        return;
      }
      buffer_.append(bytes);
      break;
    }
    const auto length = static_cast<std::size_t>(static_cast<const char*>(found) - bytes.data());
    buffer_.append(bytes.data(), length);
    buffer_.append("\r\n", 2);
    bytes.remove_prefix(length + 1);
    if (buffer_.size() >= FLUSH_THRESHOLD) Flush();
  }
  if (buffer_.size() >= FLUSH_THRESHOLD) Flush();
}

void PageWriter::Flush() {
  if (!failed_ && !buffer_.empty() && !file_.Write(buffer_)) failed_ = true;
  buffer_.clear();
}

bool PageWriter::Finish() {
  Flush();
  const bool closed = file_.Close();
  return closed && !failed_;
}

}  // namespace morvel
