#include "engine/page_writer.h"

#include <utility>

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

PageWriter::~PageWriter() { WaitForWriting(); }

bool PageWriter::WaitForWriting() {
  if (beingWritten_) {
    beingWritten_ = false;
    if (!file_.Written()) failed_ = true;
  }
  return !failed_;
}

void PageWriter::Flush() {
  if (WaitForWriting() && buffer_.Size() > 0) {
    std::swap(buffer_, writing_);
    file_.BeginWrite(writing_.View());
    beingWritten_ = true;
  }
  buffer_.Clear();
}

bool PageWriter::Finish() {
  // The last bytes are written at once: a short page starts no writing behind.
  if (WaitForWriting() && buffer_.Size() > 0 && !file_.Write(buffer_.View())) failed_ = true;
  buffer_.Clear();
  return !failed_ && file_.Commit();
}

}  // namespace morvel
