// Escaping and tab expansion through the text page writer, every case also run through the
// one-at-a-time reference, so the reference that the fuzzer trusts is itself held to
// hand-written bytes.
#include <gtest/gtest.h>

#include "tests/oracle/one_at_a_time.h"
#include "tests/support/written_page.h"

namespace morvel {
namespace {

using namespace std::string_literals;

const std::string SIX_SPACES = "　　　　　　";

// `text` with its line ends as the page has them.
std::string WithCrLf(const std::string& text) {
  std::string page;
  for (const char byte : text) {
    if (byte == '\n') page += '\r';
    page += byte;
  }
  return page;
}

// The page of `text` with only escaping switched by `escapeSpecials` (tabs are always
// expanded).
std::string Escaped(const std::string& text, bool escapeSpecials) {
  ConversionOptions options = testing::SwitchesFrom(0);
  options.escapeSpecials = escapeSpecials;
  return testing::PageOfBlocks(text, options);
}

struct EscapeCase {
  std::string line;
  bool escapeSpecials;
  std::string expected;
};

TEST(EscapingTest, ReplacesEachSpecialByteOnceAndTabsAlways) {
  const EscapeCase cases[] = {
      {"\"<>&\"\n", true, "&quot;&lt;&gt;&amp;&quot;\n"},
      {"A&B\n", true, "A&amp;B\n"},
      {"&amp;\n", true, "&amp;amp;\n"},
      {"&lt;b&gt;&quot;\n", true, "&amp;lt;b&amp;gt;&amp;quot;\n"},
      {"<B>x</B>\n", false, "<B>x</B>\n"},
      {"a\tb\n", true, "a" + SIX_SPACES + "b\n"},
      {"a\tb\n", false, "a" + SIX_SPACES + "b\n"},
      {"\t\t", true, SIX_SPACES + SIX_SPACES},
      {"\t&\t", true, SIX_SPACES + "&amp;" + SIX_SPACES},
      {"日本語のテキスト。\n", true, "日本語のテキスト。\n"},
      {"表ソ能ポ\n", true, "表ソ能ポ\n"},
      {"\xB1\xB2\xDF\n", true, "\xB1\xB2\xDF\n"},
      {"\n", true, "\n"},
      {"", true, ""},
      {"\r\x01\x1B\x7F\n", true, "\r\x01\x1B\x7F\n"},
      // NUL is data: the bytes after it are escaped too.
      {"\0<\0\t"s, true, "\0&lt;\0"s + SIX_SPACES},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Escaped(c.line, c.escapeSpecials), WithCrLf(c.expected))
        << c.line << " / " << c.escapeSpecials;
    EXPECT_EQ(oracle::EscapeLine(c.line, c.escapeSpecials), c.expected) << c.line;
  }
}

TEST(EscapingTest, GrowsALongLineWithoutLosingBytes) {
  // 20000 input bytes that become five times as many, past the room a page cursor opens with.
  std::string line;
  std::string expected;
  for (int i = 0; i < 20000; ++i) {
    line += "&";
    expected += "&amp;";
  }
  for (const ScanPath scan : testing::ScanPaths()) {
    EXPECT_EQ(testing::WrittenPage(line, testing::SwitchesFrom(1), scan), expected);
  }
}

}  // namespace
}  // namespace morvel
