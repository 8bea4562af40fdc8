// A slow, literal reference for the readers of a text's encoding, for tests and the fuzzer:
// UTF-8 checked against the table of well-formed byte sequences, UTF-16 read one code unit at a
// time, and a text's encoding chosen from all of it at once. It shares no code with text/ but
// the code page 932 table (which has a test of its own over every character), and holds no
// Japanese literals: clang builds it for the fuzzer.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace morvel::oracle {

// The encodings a text is found in; the last three start with their byte order mark.
enum class FoundEncoding { CodePage932, Utf8, Utf8WithMark, Utf16Le, Utf16Be };

// The encoding of `bytes` (up to their first 0x1A): a mark names it; otherwise UTF-8 when all
// of them are well-formed UTF-8 with a byte of 0x80 or above, code page 932 when not. With a
// `limit` (not 0) only the first `limit` bytes count, and a character those cut off counts as
// well-formed when it can still become so.
FoundEncoding EncodingOf(std::string_view bytes, std::size_t limit);

// What a reader hands on from a text, and the line (from 1) holding its first bad sequence, or
// 0 when it has none.
struct ReadText {
  std::string text;
  std::size_t badLine = 0;
  friend bool operator==(const ReadText&, const ReadText&) = default;
};

// UTF-8 text checked: all of it when it is well-formed, otherwise the text before its first bad
// sequence (a character cut off by its end included).
ReadText CheckedUtf8(std::string_view text);

// UTF-16 bytes (after their mark) as UTF-8, up to the first U+001A: a surrogate without its
// other half, or an odd last byte, is bad.
ReadText Utf16AsUtf8(std::string_view bytes, bool bigEndian);

// UTF-8 text as a code page 932 page takes it: each character as its code page 932 form, or as
// "{&#N;}" (its reference, marked as the page writer is handed it apart) when it has none.
ReadText Utf8AsCodePage932(std::string_view text);

}  // namespace morvel::oracle
