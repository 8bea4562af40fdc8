// UTF-8 input turned into the code page 932 text that the text body takes, as it streams in.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "text/carried_bytes.h"
#include "text/line_count.h"
#include "text/sink.h"

namespace morvel {

// Decodes UTF-8 given in blocks cut anywhere, even inside a character (text after its mark: a
// U+FEFF here is a character like any other). Every character goes through AppendCp932OrReference
// (text/code_page_932.h): its code page 932 form, or its reference. Invalid UTF-8 (a stray or
// missing continuation byte, an overlong form, a surrogate, a value past U+10FFFF, or a
// character cut off by the end of the input) stops the decoding: what came before it has been
// written, and nothing after it is.
class Utf8TextDecoder {
 public:
  explicit Utf8TextDecoder(Sink& sink) : sink_(sink) {}

  // Decodes the next block. False once the input has proved invalid.
  bool Write(std::string_view block);
  // Ends the input. False when it is invalid, a character cut off at its end included.
  bool Finish();

  // The line (counted from 1) that holds the first invalid byte, once Write() or Finish() has
  // returned false.
  std::size_t InvalidLine() const { return lines_.Line(); }

 private:
  // Writes one character: its code page 932 form, or its reference.
  void Put(char32_t value);
  // Hands the code page 932 bytes gathered so far to the sink.
  void Flush();
  // Completes the carried character from the front of `block` and writes it, or keeps all of
  // `block` carried when it is too short. False when the bytes cannot make a character.
  bool CompleteCarried(std::string_view& block);
  // Stops the decoding at `at` in `block`, the first byte of an invalid sequence.
  bool Fail(std::string_view block, std::size_t at);

  Sink& sink_;
  CarriedBytes carried_;   // the start of a character cut off by the end of the last block
  std::string converted_;  // code page 932 bytes of the text being written
  LineCount lines_;        // over the input decoded
  bool failed_ = false;
};

}  // namespace morvel
