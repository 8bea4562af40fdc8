// TagLineEnd and WriteParagraphLine, with the reference run alongside.
#include "text/line_tags.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/oracle/one_at_a_time.h"

namespace morvel {
namespace {

using namespace std::string_literals;

TEST(TagLineEndTest, TagsOnlyAFinalNewline) {
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
  for (const auto& [line, expected] : cases) {
    std::string tagged = line;
    TagLineEnd(tagged);
    EXPECT_EQ(tagged, expected) << line;
    EXPECT_EQ(oracle::TagLineEnd(line), expected) << line;
  }
}

struct ParagraphCase {
  std::vector<std::string> lines;
  std::string written;
  int finalState;
};

TEST(WriteParagraphLineTest, JoinsTextWithBreaksAndTurnsEmptyLinesIntoParagraphs) {
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
  for (const auto& c : cases) {
    StringSink page;
    std::string oraclePage;
    int state = PARAGRAPH_AFTER_BREAK;
    int oracleState = 0;
    for (const auto& line : c.lines) {
      state = WriteParagraphLine(line, state, page);
      oracleState = oracle::WriteParagraphLine(line, oracleState, oraclePage);
    }
    EXPECT_EQ(page.text, c.written) << c.lines.front();
    EXPECT_EQ(state, c.finalState) << c.lines.front();
    EXPECT_EQ(oraclePage, c.written) << c.lines.front();
    EXPECT_EQ(oracleState, c.finalState) << c.lines.front();
  }
}

}  // namespace
}  // namespace morvel
