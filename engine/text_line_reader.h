// Reads a byte stream as text, a run of whole lines at a time. A 0x1A byte ends the input.
// Line ends are handed out as read (LF or CR LF); the line transforms turn CR LF into a line
// end and keep a CR anywhere else as text. Lines have no length limit; memory grows with the
// longest line only.
#pragma once

#include <string_view>
#include <vector>

#include "engine/platform.h"

namespace morvel {

class TextLineReader {
 public:
  explicit TextLineReader(ByteReader& source);

  // Points `lines` at the next run of lines: from a line's start through the last "\n" read
  // so far, or, once the input has ended, through its end (the last line may then lack its
  // "\n"). The view is valid until the next call. False when no line is left or the source
  // failed (see Failed()); the lines read before a failure have been handed out.
  bool ReadLines(std::string_view& lines);

  // True once a read of the source has failed.
  bool Failed() const { return failed_; }

 private:
  // Moves the unfinished line to the front and reads more after it. False at the end of the
  // input or on a failure.
  bool Refill();

  ByteReader& source_;
  std::vector<char> buffer_;
  std::size_t begin_ = 0;     // the first byte not handed out
  std::size_t searched_ = 0;  // from begin_ up to here the buffer holds no "\n"
  std::size_t end_ = 0;       // the end of the bytes read
  bool exhausted_ = false;
  bool failed_ = false;
};

}  // namespace morvel
