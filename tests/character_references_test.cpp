#include "text/character_references.h"

#include <gtest/gtest.h>

namespace morvel {
namespace {

// Code page 932 as far as these cases need it: ASCII and "雪" (UTF-8 E9 9B AA).
std::optional<std::string> AsciiAndSnowOnly(std::string_view text) {
  std::string bytes;
  while (!text.empty()) {
    if (text.starts_with("\xE9\x9B\xAA")) {
      bytes += "雪";
      text.remove_prefix(3);
    } else if (static_cast<unsigned char>(text[0]) < 0x80) {
      bytes += text[0];
      text.remove_prefix(1);
    } else {
      return std::nullopt;
    }
  }
  return bytes;
}

TEST(EncodeWithCharacterReferences, WritesWhatCodePage932LacksAsDecimalReferences) {
  const struct {
    std::string_view utf8;
    std::string_view expected;
  } CASES[] = {
      {"", ""},
      {"a<b&c \"d\"", "a<b&c \"d\""},                                   // nothing else escaped
      {"\xE9\x9B\xAA", "雪"},                                           // all held: as it is
      {"\xE9\x9B\xAA\xE2\x98\x83 Caf\xC3\xA9", "雪&#9731; Caf&#233;"},  // 3- and 2-byte forms
      {"\xED\x95\x9C", "&#54620;"},                                     // a Korean syllable
      {"\xF0\x9F\x98\x80!", "&#128512;!"},                              // beyond 16 bits
      {"\xEF\xBF\xBD", "&#65533;"},
  };
  for (const auto& c : CASES) {
    EXPECT_EQ(EncodeWithCharacterReferences(c.utf8, AsciiAndSnowOnly), c.expected) << c.utf8;
  }
}

TEST(EncodeWithCharacterReferences, RefusesTextThatIsNotUtf8) {
  const std::string_view CASES[] = {
      "\xC3",              // cut short
      "a\x80",             // a stray continuation byte
      "\xE2\x98",          // cut short
      "\xE2\x98\x41",      // a continuation byte missing
      "\xC0\xAF",          // an overlong "/"
      "\xE0\x80\xAF",      // an overlong "/"
      "\xED\xA0\x80",      // a surrogate
      "\xF4\x90\x80\x80",  // past U+10FFFF
      "\xFF",
  };
  for (const auto text : CASES) {
    EXPECT_EQ(EncodeWithCharacterReferences(text, AsciiAndSnowOnly), std::nullopt) << text;
  }
}

}  // namespace
}  // namespace morvel
