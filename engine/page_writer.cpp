#include "engine/page_writer.h"

namespace morvel {

namespace {
// The buffer goes to the file once it holds this much: few enough system calls, and little
// enough memory whatever the size of the page.
constexpr std::size_t FLUSH_SIZE = 128 * 1024;
}  // namespace

void PageWriter::Write(std::string_view text) {
  // A long text goes in pieces, so that the buffer stays near FLUSH_SIZE.
  while (!text.empty()) {
    const std::string_view piece = text.substr(0, FLUSH_SIZE);
    buffer_.Write(piece);
    FlushWhenFull();
    text.remove_prefix(piece.size());
  }
}

void PageWriter::FlushWhenFull() {
  if (buffer_.Size() >= FLUSH_SIZE) Flush();
}

void PageWriter::Flush() {
  if (!failed_ && buffer_.Size() > 0 && !file_.Write(buffer_.View())) failed_ = true;
  buffer_.Clear();
}

bool PageWriter::Finish() {
  Flush();
  return !failed_ && file_.Commit();
}

}  // namespace morvel
