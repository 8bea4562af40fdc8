// Writes the page as text: every "\n" reaches the file as CR LF, every other byte unchanged.
// Output is buffered, and a full buffer is written while the next one fills (where the file
// can be written behind the writer); the first failed write is remembered and nothing more is
// attempted.
#pragma once

#include <string_view>

#include "engine/outside_world.h"
#include "text/page_bytes.h"
#include "text/sink.h"

namespace morvel {

class PageWriter final : public Sink {
 public:
  explicit PageWriter(ByteWriter& file) : file_(file) {}
  // Waits for the block being written, whose bytes it holds.
  ~PageWriter();
  PageWriter(const PageWriter&) = delete;
  PageWriter& operator=(const PageWriter&) = delete;

  void Write(std::string_view text) override;

  // The buffer itself, for the text page writer, which writes page bytes (CR LF line ends)
  // directly; call FlushWhenFull() after each batch of them.
  PageBytes& Bytes() { return buffer_; }
  void FlushWhenFull();

  // Flushes the buffer and puts the page in its place. False when any write failed or the
  // page could not be put in place (the place then holds what it held before).
  bool Finish();

  // False when a write has failed so far, the one under way included (it is waited for). A
  // page that is not finished is never put in place.
  bool WritesSucceeded() { return WaitForWriting(); }

 private:
  void Flush();
  // Waits for the block being written, if any; false once a write has failed.
  bool WaitForWriting();

  ByteWriter& file_;
  // A full buffer goes to the file while the other one fills: the two take turns.
  PageBytes buffer_;
  PageBytes writing_;
  bool beingWritten_ = false;
  bool failed_ = false;
};

}  // namespace morvel
