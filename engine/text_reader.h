// Reads a byte stream as text, a block at a time, as the reads bring it: a block may end
// anywhere, in the middle of a line, of a CR LF or of a double-byte character. A 0x1A byte
// ends the input, except in UTF-16 text (where 0x1A bytes stand in other characters, and
// U+001A ends it). Memory is one block, whatever the lengths of the lines.
#pragma once

#include <memory>
#include <string_view>

#include "engine/outside_world.h"

namespace morvel {

// Where the input ends: at its first 0x1A byte, or only where the stream does.
enum class EndOfText { AtByte1A, AtStreamEnd };

class TextReader {
 public:
  explicit TextReader(ByteReader& source, EndOfText endOfText = EndOfText::AtByte1A);

  // Points `block` at the next bytes of the input (never none); the view is valid until the
  // next call. False at the end of the input (the end of the file or a 0x1A) or when the
  // source failed (see Failed()); the bytes read before a failure have been handed out.
  bool Read(std::string_view& block);

  // True once a read of the source has failed.
  bool Failed() const { return failed_; }

 private:
  ByteReader& source_;
  std::unique_ptr<char[]> buffer_;
  bool cutAtByte1A_;
  bool ended_ = false;
  bool failed_ = false;
};

}  // namespace morvel
