// UTF-16 text turned into UTF-8 as it streams in, in blocks cut anywhere: inside a code unit
// or between the halves of a surrogate pair included.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "text/carried_bytes.h"
#include "text/encoding.h"
#include "text/line_count.h"

namespace morvel {

// Converts the UTF-16 text after its mark (EncodingClassifier::MarkLength() bytes, which are
// not text) to UTF-8. The text ends at its first END_OF_TEXT_UNIT; nothing after it is read. An
// unpaired surrogate, or an odd number of bytes at the end of the input, makes the text invalid.
class Utf16ToUtf8 {
 public:
  explicit Utf16ToUtf8(bool bigEndian) : bigEndian_(bigEndian) {}

  // Converts the next block and appends the UTF-8 of its whole characters to `utf8`; a
  // character cut off by the end of the block is carried to the next call. Once the status is
  // Ended or Invalid, nothing more is appended: everything before the end of text (Ended), or
  // before the invalid unit (Invalid), has been.
  TextStatus Write(std::string_view block, std::string& utf8);
  // The end of the input; false when the text is invalid: a surrogate without its other half,
  // or an odd last byte, cut off by the end included.
  bool Finish();

  TextStatus Status() const { return status_; }
  // The line (counted from 1, by line feeds) that holds the first invalid unit, once the status
  // is Invalid; an odd last byte belongs to the last line.
  std::size_t InvalidLine() const { return lines_.Line(); }

 private:
  // Converts the whole characters of `in` to UTF-8 at `out`, stopping at the end of text or an
  // invalid unit (and setting the status), or before a character that `in` cuts off. Returns
  // the bytes of `in` taken; moves `out` past what it wrote.
  std::size_t Convert(std::string_view in, char*& out);

  bool bigEndian_;
  CarriedBytes carried_;  // a cut-off character: up to a unit and a half
  LineCount lines_;       // over the UTF-8 written, whose line feeds are the text's
  TextStatus status_ = TextStatus::Continuing;
};

}  // namespace morvel
