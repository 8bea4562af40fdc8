// Writes the page as text: every "\n" reaches the file as CR LF, every other byte unchanged.
// Output is buffered; the first failed write is remembered and nothing more is attempted.
#pragma once

#include <string_view>

#include "engine/outside_world.h"
#include "text/page_bytes.h"
#include "text/sink.h"

namespace morvel {

class PageWriter final : public Sink {
 public:
  explicit PageWriter(ByteWriter& file) : file_(file) {}

  void Write(std::string_view text) override;

  // The buffer itself, for the text page writer, which writes page bytes (CR LF line ends)
  // directly; call FlushWhenFull() after each batch of them.
  PageBytes& Bytes() { return buffer_; }
  void FlushWhenFull();

  // Flushes the buffer and puts the page in its place. False when any write failed or the
  // page could not be put in place (the place then holds what it held before).
  bool Finish();

  // False when a write has failed so far. A page that is not finished is never put in place.
  bool WritesSucceeded() const { return !failed_; }

 private:
  void Flush();

  ByteWriter& file_;
  PageBytes buffer_;
  bool failed_ = false;
};

}  // namespace morvel
