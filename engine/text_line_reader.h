// Reads a byte stream as text, one line at a time: a CR LF pair arrives as "\n", a CR not
// followed by LF stays a CR, and a 0x1A byte ends the input. Lines have no length limit;
// memory grows with the longest line only.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/platform.h"

namespace morvel {

class TextLineReader {
 public:
  explicit TextLineReader(ByteReader& source);

  // Points `line` at the next line, with its "\n" when it has one; the view is valid until
  // the next call. False when no line is left or the source failed (see Failed()).
  bool ReadLine(std::string_view& line);

  // True once a read of the source has failed.
  bool Failed() const { return failed_; }

 private:
  bool Refill();

  ByteReader& source_;
  std::vector<char> buffer_;
  std::size_t position_ = 0;
  std::size_t end_ = 0;
  // The start of a line that runs on past the end of the buffer.
  std::string carry_;
  bool exhausted_ = false;
  bool failed_ = false;
};

}  // namespace morvel
