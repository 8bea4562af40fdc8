// The encoding readers' reference held to hand-written results.
#include "tests/oracle/text_encodings.h"

#include <gtest/gtest.h>

#include <vector>

namespace morvel::oracle {
namespace {

using E = FoundEncoding;
using namespace std::string_literals;

TEST(TextEncodingsOracle, FindsTheEncodingFromTheWholeTextOrItsFirstBytes) {
  struct Case {
    std::string bytes;
    std::size_t limit;
    FoundEncoding encoding;
  };
  const std::vector<Case> cases = {
      {"", 0, E::CodePage932},
      {"ab\n", 0, E::CodePage932},
      {"\xEF\xBB\xBF\xFF", 0, E::Utf8WithMark},
      {"\xFF\xFE", 0, E::Utf16Le},
      {"\xFE\xFF", 0, E::Utf16Be},
      {"a\xC3\xA9", 0, E::Utf8},
      {"\xC3\xA9\xFF", 0, E::CodePage932},
      {"\xC3\xA9\x1A\xFF", 0, E::Utf8},
      {"\xEF\xBB\x1A\xBF", 0, E::CodePage932},
      {"\xE0\x9F\x80", 0, E::CodePage932},
      {"\xED\xA0\x80", 0, E::CodePage932},
      {"\xF4\x90\x80\x80", 0, E::CodePage932},
      {"\xF0\x90\x80\x80", 0, E::Utf8},
      {"a\xE2\x98", 0, E::CodePage932},
      // The limit: a character it cuts off counts while it can still become one.
      {"a\xE2\x98\xFF", 3, E::Utf8},
      {"a\xC0\x80", 2, E::CodePage932},
      {"a\xE2\x1A\x98", 3, E::CodePage932},
      {"aa\xFF", 2, E::CodePage932},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EncodingOf(c.bytes, c.limit), c.encoding) << ::testing::PrintToString(c.bytes);
  }
}

TEST(TextEncodingsOracle, ReadsEachEncodingUpToItsFirstBadSequence) {
  EXPECT_EQ(CheckedUtf8("a\n\xC3\xA9\n"), (ReadText{"a\n\xC3\xA9\n", 0}));
  EXPECT_EQ(CheckedUtf8("a\n\xC3\n"), (ReadText{"a\n", 2}));
  EXPECT_EQ(CheckedUtf8("\n\n\xE3\x81"), (ReadText{"\n\n", 3}));
  EXPECT_EQ(Utf16AsUtf8("a\0\n\0\x3D\xD8\x00\xDE"s, false), (ReadText{"a\n\xF0\x9F\x98\x80", 0}));
  EXPECT_EQ(Utf16AsUtf8("\0a\0\x1A\xDC\x00"s, true), (ReadText{"a", 0}));
  EXPECT_EQ(Utf16AsUtf8("\0\n\xD8\x3D\0a"s, true), (ReadText{"\n", 2}));
  EXPECT_EQ(Utf16AsUtf8("a\0b"s, false), (ReadText{"a", 1}));
  // "日" and "☃", which code page 932 lacks.
  EXPECT_EQ(Utf8AsCodePage932("\xE6\x97\xA5\xE2\x98\x83x\n\xFF"),
            (ReadText{"\x93\xFA{&#9731;}x\n", 2}));
}

}  // namespace
}  // namespace morvel::oracle
