// EscapeLine, with every case also run through the one-at-a-time reference, so the reference
// that the fuzzer trusts is itself held to hand-written bytes.
#include "text/escape.h"

#include <gtest/gtest.h>

#include "tests/oracle/one_at_a_time.h"

namespace morvel {
namespace {

using namespace std::string_literals;

const std::string SIX_SPACES = "　　　　　　";

struct EscapeCase {
  std::string line;
  int escapeSpecials;
  std::string expected;
};

TEST(EscapeLineTest, ReplacesEachSpecialByteOnceAndTabsAlways) {
  const EscapeCase cases[] = {
      {"\"<>&\"\n", 1, "&quot;&lt;&gt;&amp;&quot;\n"},
      {"A&B\n", 1, "A&amp;B\n"},
      {"&amp;\n", 1, "&amp;amp;\n"},
      {"&lt;b&gt;&quot;\n", 1, "&amp;lt;b&amp;gt;&amp;quot;\n"},
      {"<B>x</B>\n", 0, "<B>x</B>\n"},
      {"<\"&>\n", 2, "<\"&>\n"},
      {"<\"&>\n", -1, "<\"&>\n"},
      {"a\tb\n", 1, "a" + SIX_SPACES + "b\n"},
      {"a\tb\n", 0, "a" + SIX_SPACES + "b\n"},
      {"\t\t", 1, SIX_SPACES + SIX_SPACES},
      {"\t&\t", 1, SIX_SPACES + "&amp;" + SIX_SPACES},
      {"日本語のテキスト。\n", 1, "日本語のテキスト。\n"},
      {"表ソ能ポ\n", 1, "表ソ能ポ\n"},
      {"\xB1\xB2\xDF\n", 1, "\xB1\xB2\xDF\n"},
      {"\n", 1, "\n"},
      {"", 1, ""},
      {"\r\x01\x1B\x7F\n", 1, "\r\x01\x1B\x7F\n"},
      // NUL is data: the bytes after it are escaped too.
      {"\0<\0\t"s, 1, "\0&lt;\0"s + SIX_SPACES},
  };
  std::string buffer = "left over";
  for (const auto& c : cases) {
    EXPECT_EQ(EscapeLine(c.line, c.escapeSpecials, buffer), c.expected)
        << c.line << " / " << c.escapeSpecials;
    EXPECT_EQ(oracle::EscapeLine(c.line, c.escapeSpecials), c.expected) << c.line;
  }
}

TEST(EscapeLineTest, GrowsPastTheOldLineBufferWithoutLosingBytes) {
  // 2999 input bytes that become 2999 * 5 bytes.
  std::string line;
  std::string expected;
  for (int i = 0; i < 2999; ++i) {
    line += "&";
    expected += "&amp;";
  }
  std::string buffer;
  const std::string_view result = EscapeLine(line, 1, buffer);
  EXPECT_EQ(result.size(), 14995u);
  EXPECT_EQ(result, expected);
}

TEST(EscapeLineTest, HandsBackTheLineItselfWhenNothingIsReplaced) {
  const std::string line = "<b>&\n";
  std::string buffer = "untouched";
  EXPECT_EQ(EscapeLine(line, 0, buffer).data(), line.data());
  EXPECT_EQ(buffer, "untouched");
  const std::string_view escaped = EscapeLine(line, 1, buffer);
  EXPECT_EQ(escaped.data(), buffer.data());
}

}  // namespace
}  // namespace morvel
