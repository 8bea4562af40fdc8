// The date text in both styles and the box around it.
#include "engine/update_stamp.h"

#include <gtest/gtest.h>

namespace morvel {
namespace {

struct StampCase {
  LocalTime time;
  StampStyle style;
  std::string expected;
};

TEST(FormatUpdateStampTest, WritesNumbersWithoutLeadingZeros) {
  const StampCase cases[] = {
      {{2002, 3, 16, 9, 5}, StampStyle::Kanji, "2002年　3月16日　9時5分"},
      {{2002, 3, 16, 9, 5}, StampStyle::Numeric, "2002　3/16　9:5"},
      {{2009, 12, 31, 23, 59}, StampStyle::Kanji, "2009年　12月31日　23時59分"},
      {{2009, 12, 31, 23, 59}, StampStyle::Numeric, "2009　12/31　23:59"},
      {{2010, 1, 1, 0, 0}, StampStyle::Kanji, "2010年　1月1日　0時0分"},
      {{2010, 1, 1, 0, 0}, StampStyle::Numeric, "2010　1/1　0:0"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatUpdateStamp(c.time, c.style), c.expected) << c.expected;
  }
}

TEST(FormatUpdateStampTest, LongestTextIsTwentySixBytes) {
  EXPECT_EQ(FormatUpdateStamp({2009, 12, 31, 23, 59}, StampStyle::Kanji).size(), 26u);
}

TEST(UpdateBoxTest, FramesTheTextAndEndsInABreakWithoutLineEnd) {
  EXPECT_EQ(UpdateBox("2002　3/16　9:5"),
            "<TABLE border=\"1\" align=\"right\">\n<TR><TD>\n"
            "<SPAN style=\"font-size:10px\">更新日　2002　3/16　9:5</SPAN>\n"
            "</TD></TR>\n</TABLE>\n<BR>");
  EXPECT_EQ(UpdateBox(""),
            "<TABLE border=\"1\" align=\"right\">\n<TR><TD>\n"
            "<SPAN style=\"font-size:10px\">更新日　</SPAN>\n</TD></TR>\n</TABLE>\n<BR>");
}

}  // namespace
}  // namespace morvel
