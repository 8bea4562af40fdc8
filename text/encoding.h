// What the encodings a text may come in share, each fact spelled once: the byte order marks,
// the end of text, the character that stands for what cannot be read, code page 932's lead and
// trail bytes, ASCII case folding, and how a streaming check of a text stands.
#pragma once

#include <cstddef>
#include <string_view>

namespace morvel {

// The byte order marks a text may start with; they are not text.
inline constexpr std::string_view UTF8_MARK = "\xEF\xBB\xBF";
inline constexpr std::string_view UTF16LE_MARK = "\xFF\xFE";
inline constexpr std::string_view UTF16BE_MARK = "\xFE\xFF";
inline constexpr std::size_t LONGEST_MARK = UTF8_MARK.size();

// A text ends at its first END_OF_TEXT: the byte 0x1A in code page 932 and UTF-8 (no byte of a
// UTF-8 multi-byte character is below 0x80, and no code page 932 trail byte is 0x1A), the code
// unit U+001A in UTF-16 (whose other characters hold 0x1A bytes too). Nothing after it is read.
inline constexpr char END_OF_TEXT = '\x1A';
inline constexpr char32_t END_OF_TEXT_UNIT = static_cast<unsigned char>(END_OF_TEXT);

// `bytes` cut before its first END_OF_TEXT byte; true when it held one.
constexpr bool CutAtEndOfText(std::string_view& bytes) {
  const std::size_t end = bytes.find(END_OF_TEXT);
  if (end == std::string_view::npos) return false;
  bytes = bytes.substr(0, end);
  return true;
}

// U+FFFD, shown where a sequence cannot be read as a character.
inline constexpr char32_t REPLACEMENT_CHARACTER = 0xFFFD;

// A code page 932 lead byte starts a double-byte character; the byte after it is its trail
// byte when it is one of the trail bytes (which include 0x40-0x7E, so they can look like "\\",
// "|", "h" or letters). Scans that only need character boundaries take the byte after a lead
// byte as its trail byte whatever its value.
constexpr bool IsLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}
constexpr bool IsLeadByte(char byte) { return IsLeadByte(static_cast<unsigned char>(byte)); }
constexpr bool IsTrailByte(unsigned char byte) {
  return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}
constexpr bool IsTrailByte(char byte) { return IsTrailByte(static_cast<unsigned char>(byte)); }

// "a"-"z" as "A"-"Z"; every other byte (0x80-0xFF included) as it is.
constexpr char FoldAsciiCase(char byte) {
  return byte >= 'a' && byte <= 'z' ? static_cast<char>(byte - 'a' + 'A') : byte;
}

// How a streaming check of a text stands after a block.
enum class TextStatus {
  Continuing,  // valid so far
  Ended,       // the end of text came: nothing after it is text
  Invalid,     // the text holds a byte sequence its encoding does not allow
};

}  // namespace morvel
