// Character escaping and tab expansion, the first transform of every text line.
#pragma once

#include <string>
#include <string_view>

namespace morvel {

// What escaping writes for "&", "\"", "<" and ">".
inline constexpr std::string_view AMPERSAND_ENTITY = "&amp;";
inline constexpr std::string_view QUOTE_ENTITY = "&quot;";
inline constexpr std::string_view LESS_THAN_ENTITY = "&lt;";
inline constexpr std::string_view GREATER_THAN_ENTITY = "&gt;";

// Six ideographic spaces (U+3000) in code page 932; every tab becomes this.
inline constexpr std::string_view TAB_REPLACEMENT =
    "\x81\x40\x81\x40\x81\x40\x81\x40\x81\x40\x81\x40";

// The line with every tab replaced by TAB_REPLACEMENT and, only when `escapeSpecials` is 1,
// "&", "\"", "<" and ">" replaced by "&amp;", "&quot;", "&lt;" and "&gt;". Each input byte is
// replaced at most once, so inserted entities are never escaped again while entities already
// in the input are ("&lt;" becomes "&amp;lt;"). Every other byte, NUL and double-byte
// characters included, is kept as is. The result is `line` itself when nothing needed
// replacing (`buffer` is then left alone), otherwise it is built in `buffer`, whose capacity
// is reused; either way it stays valid until `buffer` or the line changes.
std::string_view EscapeLine(std::string_view line, int escapeSpecials, std::string& buffer);

}  // namespace morvel
