// Line-break tags in the one-at-a-time reference, held to hand-written bytes, and the text
// page writer held to the reference on the same lines, cut everywhere.
#include <gtest/gtest.h>

#include <vector>

#include "tests/oracle/one_at_a_time.h"
#include "tests/support/written_page.h"

namespace morvel {
namespace {

using namespace std::string_literals;

TEST(BreakTagsTest, TagsOnlyAFinalNewline) {
  const std::pair<std::string, std::string> cases[] = {
      {"text\n", "text<BR>\n"},
      {"\n", "<BR>\n"},
      {"b", "b"},
      {"", ""},
      {"a\r", "a\r"},
      {"a\n\n", "a\n<BR>\n"},
      {"x\0\n"s, "x\0<BR>\n"s},
      {"\n\0"s, "\n\0"s},
  };
  const ConversionOptions breaks = testing::SwitchesFrom(0b1100);
  for (const auto& [line, expected] : cases) {
    EXPECT_EQ(oracle::TagLineEnd(line), expected) << line;
    EXPECT_EQ(testing::PageOfBlocks(line, breaks),
              oracle::PageOfText(line, testing::ReferenceSwitches(breaks)))
        << line;
  }
}

struct ParagraphCase {
  std::vector<std::string> lines;
  std::string written;
  int finalState;
};

TEST(ParagraphTagsTest, JoinsTextWithBreaksAndTurnsEmptyLinesIntoParagraphs) {
  const ParagraphCase cases[] = {
      {{"a\n", "b\n", "\n", "c\n"}, "\na<BR>\nb<P>\n\nc", 1},
      {{"a\n", "\n", "\n", "b\n"}, "\na<P>\n<BR>\n\nb", 1},
      {{"\n", "x\n"}, "<BR>\n\nx", 1},
      {{"a\n", "b"}, "\na<BR>\nb", 1},
      {{" \n", "x\n"}, "\n <BR>\nx", 1},
      {{"x\n", "\n"}, "\nx<P>\n", 0},
      {{"\x81\x40\n", "\n"}, "\n\x81\x40<P>\n", 0},
      {{"\0\n"s, "\n"}, "\n\0<P>\n"s, 0},
      {{"a\r\n", "\r\n"}, "\na\r<BR>\n\r", 1},
  };
  const ConversionOptions paragraphs = testing::SwitchesFrom(0b0100);
  for (const auto& c : cases) {
    std::string oraclePage;
    std::string text;
    int oracleState = 0;
    for (const auto& line : c.lines) {
      oracleState = oracle::WriteParagraphLine(line, oracleState, oraclePage);
      text += line;
    }
    EXPECT_EQ(oraclePage, c.written) << c.lines.front();
    EXPECT_EQ(oracleState, c.finalState) << c.lines.front();
    EXPECT_EQ(testing::PageOfBlocks(text, paragraphs),
              oracle::PageOfText(text, testing::ReferenceSwitches(paragraphs)))
        << c.lines.front();
  }
}

}  // namespace
}  // namespace morvel
