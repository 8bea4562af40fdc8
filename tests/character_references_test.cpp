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
    std::optional<std::string_view> expected;  // nothing: not UTF-8
  } CASES[] = {
      {"", ""},
      {"a<b&c \"d\"", "a<b&c \"d\""},                                   // nothing else escaped
      {"\xE9\x9B\xAA", "雪"},                                           // all held: as it is
      {"\xE9\x9B\xAA\xE2\x98\x83 Caf\xC3\xA9", "雪&#9731; Caf&#233;"},  // 3- and 2-byte forms
      {"\xED\x95\x9C", "&#54620;"},                                     // a Korean syllable
      {"\xF0\x9F\x98\x80!", "&#128512;!"},                              // beyond 16 bits
      {"\xFF", std::nullopt},  // not UTF-8 (each kind of invalid sequence: the decoder's table)
  };
  for (const auto& c : CASES) {
    EXPECT_EQ(EncodeWithCharacterReferences(c.utf8, AsciiAndSnowOnly), c.expected) << c.utf8;
  }
}

}  // namespace
}  // namespace morvel
