// Which encoding a text is in, found from its bytes as they are read, and the check of UTF-8
// text as it streams in. Both take blocks cut anywhere, inside a character included.
//
// A text is read up to its end of text: the first 0x1A byte in code page 932 and UTF-8 (no
// byte of a UTF-8 multi-byte character is below 0x80, and no code page 932 trail byte is
// 0x1A), the first U+001A code unit in UTF-16 (which text/utf16_to_utf8.h finds; 0x1A bytes
// stand in many other UTF-16 characters, so UTF-16 must be read past them). Both classes here
// take raw bytes and stop at the first 0x1A byte themselves (no mark holds one, so a UTF-16 mark
// is found first); text already cut there is read the same way.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "text/significant_bytes.h"

namespace morvel {

enum class DetectedEncoding {
  Undecided,     // more bytes are needed
  CodePage932,   // no mark, and not valid UTF-8 with a byte of 0x80 or above
  Utf8,          // no mark, valid UTF-8 with at least one byte of 0x80 or above
  Utf8WithMark,  // EF BB BF first
  Utf16Le,       // FF FE first
  Utf16Be,       // FE FF first
};

// How a streaming check of a text stands after a block.
enum class TextStatus {
  Continuing,  // valid so far
  Ended,       // the end of text came: nothing after it is text
  Invalid,     // the text holds a byte sequence its encoding does not allow
};

// The number of line feeds in `bytes`.
std::size_t CountLineFeeds(std::string_view bytes);

// Follows UTF-8 through blocks cut anywhere and finds the first sequence UTF-8 does not allow
// (as FirstUtf8Character() reads it). A character cut off by the end of a block is carried to
// the next one; it is invalid at once when no bytes could complete it (E0 80, F4 90, C0 ...).
// On the SSE2 path, 64 bytes at a time that hold only ASCII and the common two- and three-byte
// characters are passed over at once; on the SSSE3 path, runs of 64 bytes that hold only valid
// UTF-8 of any kind. Anything else is read a character at a time.
class Utf8Scan {
 public:
  static constexpr std::size_t ALL_VALID = static_cast<std::size_t>(-1);

  explicit Utf8Scan(ScanPath path = ChosenScanPath())
      : sse2_(path != ScanPath::Bytes), ssse3_(path == ScanPath::Ssse3) {}

  // The offset in `block` where the first invalid sequence starts (0 when it started in an
  // earlier block), or ALL_VALID. Once a sequence is invalid, the scan must not be fed again.
  std::size_t Scan(std::string_view block);
  // True when the bytes so far end inside a character.
  bool InsideCharacter() const { return carried_ != 0; }
  // True once a byte of 0x80 or above has been seen (in valid text, in a valid character).
  bool SawNonAscii() const { return sawNonAscii_; }

 private:
  // Adds bytes from the front of `block` to the carried character; ALL_VALID while it is
  // whole or may still become valid, 0 when it cannot.
  std::size_t CompleteCarried(std::string_view& block);

  char carry_[4] = {};
  std::size_t carried_ = 0;
  bool sawNonAscii_ = false;
  // (Unused in a build without the SIMD paths.)
  [[maybe_unused]] bool sse2_;
  [[maybe_unused]] bool ssse3_;
};

// Finds the encoding of a text from its first bytes:
// - EF BB BF, FF FE or FE FF first is UTF-8, UTF-16LE or UTF-16BE with a mark;
// - otherwise the text is UTF-8 when all of it (up to its end of text) is valid UTF-8 with at
//   least one byte of 0x80 or above, and code page 932 when not. Code page 932 is decided at
//   the first byte UTF-8 does not allow; UTF-8 only at the end of the text.
// With a limit (standard input, which cannot be read twice), the choice rests on the first
// `limit` bytes: valid UTF-8 there with a byte of 0x80 or above is UTF-8, a character cut off
// by the limit included; a later byte that UTF-8 does not allow is for Utf8Validator to find.
class EncodingClassifier {
 public:
  static constexpr std::size_t WHOLE_TEXT = 0;
  static constexpr std::size_t STANDARD_INPUT_LIMIT = 64 * 1024;

  explicit EncodingClassifier(std::size_t limit = WHOLE_TEXT, ScanPath path = ChosenScanPath())
      : limit_(limit), scan_(path) {}

  // Takes the next bytes as read; the encoding once it is known, Undecided while more are
  // needed. Bytes after the decision are ignored.
  DetectedEncoding Write(std::string_view block);
  // The end of the input: the encoding, always decided.
  DetectedEncoding Finish();

  DetectedEncoding Encoding() const { return encoding_; }
  // True once the text has shown a valid character of 0x80 or above: undecided, it is then
  // UTF-8 unless a later byte says otherwise.
  bool SawNonAscii() const { return scan_.SawNonAscii(); }
  // The bytes of the mark at the start of the input, which are not text (0, 2 or 3).
  std::size_t MarkLength() const;

 private:
  // Looks for a mark in the first bytes; false while they could still be one.
  bool ReadMark(std::string_view& block);
  // Decides from the UTF-8 scan of `bytes` (text after the mark, none of it 0x1A).
  void ScanText(std::string_view bytes);
  // Decides at the end of the text, or at the limit (`atLimit`).
  void DecideAtEnd(bool atLimit);

  std::size_t limit_;
  std::size_t seen_ = 0;  // bytes taken so far, for the limit
  char head_[3] = {};     // the first bytes while they may be a mark
  std::size_t headLength_ = 0;
  bool markChecked_ = false;
  Utf8Scan scan_;
  DetectedEncoding encoding_ = DetectedEncoding::Undecided;
};

// Checks UTF-8 text after its mark (the text after EF BB BF, text forced to be UTF-8, or the
// rest of standard input chosen as UTF-8 on its first bytes), as the page is written from it.
class Utf8Validator {
 public:
  explicit Utf8Validator(ScanPath path = ChosenScanPath()) : scan_(path) {}

  // Checks the next block and returns the part of it that is text: all of it, or the bytes
  // before its first 0x1A (Ended). Nothing once the status is Invalid: no page is written
  // from an invalid text.
  std::string_view Write(std::string_view block);
  // The end of the input; false when the text is invalid, a character cut off at its end
  // included.
  bool Finish();

  TextStatus Status() const { return status_; }
  // The line (counted from 1, by line feeds) that holds the first invalid sequence, once the
  // status is Invalid.
  std::size_t InvalidLine() const { return lineFeeds_ + 1; }

 private:
  Utf8Scan scan_;
  std::size_t lineFeeds_ = 0;
  TextStatus status_ = TextStatus::Continuing;
};

}  // namespace morvel
