// Which encoding a text is in, found from its bytes as they are read, and the check of UTF-8
// text as it streams in. Both take blocks cut anywhere, inside a character included.
//
// The classifier takes the bytes as read and stops at the end of text itself (no mark holds a
// 0x1A, so a UTF-16 mark is found first); the check takes text already cut before it, as
// TextReader hands it on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "text/carried_bytes.h"
#include "text/encoding.h"
#include "text/line_count.h"
#include "text/scan_path.h"

namespace morvel {

enum class DetectedEncoding {
  Undecided,     // more bytes are needed
  CodePage932,   // no mark, and not valid UTF-8 with a byte of 0x80 or above
  Utf8,          // no mark, valid UTF-8 with at least one byte of 0x80 or above
  Utf8WithMark,  // EF BB BF first
  Utf16Le,       // FF FE first
  Utf16Be,       // FE FF first
};

// Follows UTF-8 through blocks cut anywhere and finds the first sequence UTF-8 does not allow
// (as FirstUtf8Character() reads it). A character cut off by the end of a block is carried to
// the next one; it is invalid at once when no bytes could complete it (E0 80, F4 90, C0 ...).
// On the SSE2 path, 64 bytes at a time that hold only ASCII and the common two- and three-byte
// characters are passed over at once; on the SSSE3 and AVX2 paths, runs of 64 bytes that hold
// only valid UTF-8 of any kind. Anything else is read a character at a time.
class Utf8Scan {
 public:
  static constexpr std::size_t ALL_VALID = static_cast<std::size_t>(-1);

  explicit Utf8Scan(ScanPath path = ChosenScanPath())
      : sse2_(path != ScanPath::Bytes),
        ssse3_(path >= ScanPath::Ssse3),
        avx2_(path == ScanPath::Avx2) {}

  // The offset in `block` where the first invalid sequence starts (0 when it started in an
  // earlier block), or ALL_VALID. Once a sequence is invalid, the scan must not be fed again.
  std::size_t Scan(std::string_view block);
  // True when the bytes so far end inside a character.
  bool InsideCharacter() const { return !carried_.Empty(); }
  // True once a byte of 0x80 or above has been seen (in valid text, in a valid character).
  bool SawNonAscii() const { return sawNonAscii_; }

 private:
  // Adds bytes from the front of `block` to the carried character; ALL_VALID while it is
  // whole or may still become valid, 0 when it cannot.
  std::size_t CompleteCarried(std::string_view& block);

  CarriedBytes carried_;
  bool sawNonAscii_ = false;
  // (Unused in a build without the SIMD paths.)
  [[maybe_unused]] bool sse2_;
  [[maybe_unused]] bool ssse3_;
  [[maybe_unused]] bool avx2_;
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
  // The same for text already cut before its end of text, as TextReader hands it on: the
  // 0x1A is not looked for again.
  DetectedEncoding WriteText(std::string_view text);
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
  // Write() and WriteText(): `findEndOfText` cuts the block at its first 0x1A.
  DetectedEncoding Take(std::string_view block, bool findEndOfText);

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
// The text comes cut before its end of text.
class Utf8Validator {
 public:
  explicit Utf8Validator(ScanPath path = ChosenScanPath()) : scan_(path), lines_(path) {}

  // Checks the next block; false once the text has proved invalid. Nothing is checked after
  // that: no page is written from an invalid text.
  bool Write(std::string_view block);
  // The end of the input; false when the text is invalid, a character cut off at its end
  // included.
  bool Finish();

  // The line (counted from 1, by line feeds) that holds the first invalid sequence, once Write()
  // or Finish() has returned false.
  std::size_t InvalidLine() const { return lines_.Line(); }

 private:
  Utf8Scan scan_;
  LineCount lines_;
  bool invalid_ = false;
};

}  // namespace morvel
