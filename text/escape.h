// Character escaping and tab expansion: what each byte of a text line becomes on the page.
#pragma once

#include <cstddef>
#include <string_view>

#include "text/page_encoding.h"

namespace morvel {

// What escaping writes for "&", "\"", "<" and ">".
inline constexpr std::string_view AMPERSAND_ENTITY = "&amp;";
inline constexpr std::string_view QUOTE_ENTITY = "&quot;";
inline constexpr std::string_view LESS_THAN_ENTITY = "&lt;";
inline constexpr std::string_view GREATER_THAN_ENTITY = "&gt;";

// Six ideographic spaces (U+3000), in code page 932 and in UTF-8; every tab becomes these in
// the page's encoding.
inline constexpr std::string_view TAB_REPLACEMENT =
    "\x81\x40\x81\x40\x81\x40\x81\x40\x81\x40\x81\x40";
inline constexpr std::string_view TAB_REPLACEMENT_UTF8 =
    "\xE3\x80\x80\xE3\x80\x80\xE3\x80\x80\xE3\x80\x80\xE3\x80\x80\xE3\x80\x80";

// What `byte` becomes on a page in `encoding`: the tab's replacement for a tab; the entity of "&",
// "\"", "<" or
// ">" when `escapeSpecials`; empty for every other byte, which stays as it is. Each input byte
// is replaced once, so an inserted entity is never escaped again while an entity that the
// input holds is ("&lt;" becomes "&amp;lt;"). No part of a double-byte character is one of
// these bytes: lead bytes are 0x81 and above, trail bytes 0x40 and above (and every byte of a
// multi-byte UTF-8 character is 0x80 and above).
constexpr std::string_view Replacement(char byte, bool escapeSpecials,
                                       PageEncoding encoding = PageEncoding::CodePage932) {
  if (byte == '\t') {
    return encoding == PageEncoding::Utf8 ? TAB_REPLACEMENT_UTF8 : TAB_REPLACEMENT;
  }
  if (!escapeSpecials) return {};
  switch (byte) {
    case '&':
      return AMPERSAND_ENTITY;
    case '"':
      return QUOTE_ENTITY;
    case '<':
      return LESS_THAN_ENTITY;
    case '>':
      return GREATER_THAN_ENTITY;
    default:
      return {};
  }
}

// The most bytes that Replacement() makes of one byte.
inline constexpr std::size_t MAX_REPLACEMENT = TAB_REPLACEMENT_UTF8.size();

}  // namespace morvel
