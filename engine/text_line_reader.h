// Reads a byte stream as text, one line at a time: a CR LF pair arrives as "\n", a CR not
// followed by LF stays a CR, and a 0x1A byte ends the input. Lines have no length limit;
// memory grows with the longest line only.
#pragma once

#include <string>
#include <vector>

#include "engine/platform.h"

namespace morvel {

class TextLineReader {
 public:
  explicit TextLineReader(ByteReader& source);

  // Puts the next line into `line` (cleared first; its capacity is reused), with its "\n"
  // when it has one. False when no line is left or the source failed (see Failed()).
  bool ReadLine(std::string& line);

  // True once a read of the source has failed.
  bool Failed() const { return failed_; }

 private:
  bool Refill();

  ByteReader& source_;
  std::vector<char> buffer_;
  std::size_t position_ = 0;
  std::size_t end_ = 0;
  bool exhausted_ = false;
  bool failed_ = false;
};

}  // namespace morvel
