#include "engine/page_writer.h"

#include <cstring>

namespace morvel {

namespace {

constexpr std::size_t BUFFER_SIZE = 256 * 1024;
// Every byte of a piece may become two (a "\n" becomes CR LF), so a piece takes at most
// half the buffer.
constexpr std::size_t PIECE_SIZE = BUFFER_SIZE / 2;
// Pieces shorter than this are copied byte by byte: a call to memchr costs more than it saves
// on the short tags written between lines.
constexpr std::size_t SHORT_PIECE = 16;

// Copies `bytes` to `out` with every "\n" written as CR LF; returns the end of what it wrote.
char* CopyWithCrLf(std::string_view bytes, char* out) {
  const char* from = bytes.data();
  const char* const end = from + bytes.size();
  if (bytes.size() < SHORT_PIECE) {
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

PageWriter::PageWriter(ByteWriter& file)
    : file_(file), buffer_(std::make_unique<char[]>(BUFFER_SIZE)) {}

void PageWriter::Write(std::string_view bytes) {
  while (!bytes.empty()) {
    const std::string_view piece = bytes.substr(0, PIECE_SIZE);
    if (used_ + 2 * piece.size() > BUFFER_SIZE) Flush();
    used_ = static_cast<std::size_t>(CopyWithCrLf(piece, buffer_.get() + used_) - buffer_.get());
    bytes.remove_prefix(piece.size());
  }
}

void PageWriter::Flush() {
  if (!failed_ && used_ > 0 && !file_.Write({buffer_.get(), used_})) failed_ = true;
  used_ = 0;
}

bool PageWriter::Finish() {
  Flush();
  const bool closed = file_.Close();
  return closed && !failed_;
}

}  // namespace morvel
