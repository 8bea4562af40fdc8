// The one-at-a-time reference's own primitives held to hand-written results.
#include "tests/oracle/one_at_a_time.h"

#include <gtest/gtest.h>

namespace morvel::oracle {
namespace {

TEST(ReplaceCharAt, ReplacesOnlyTheWantedByteInsideTheString) {
  struct Case {
    std::string buffer;
    char wanted;
    std::string replacement;
    std::size_t position;
    std::string expected;
  };
  const Case cases[] = {
      {"A&B", '&', "&amp;", 1, "A&amp;B"}, {"A&B", '&', "&amp;", 0, "A&B"},
      {"A&B", '&', "&amp;", 3, "A&B"},     {"A&B", '&', "&amp;", 99, "A&B"},
      {"\n", '\n', "<BR>\n", 0, "<BR>\n"}, {"", '\n', "<BR>\n", 0, ""},
  };
  for (auto c : cases) {
    ReplaceCharAt(c.buffer, c.wanted, c.replacement, c.position);
    EXPECT_EQ(c.buffer, c.expected);
  }
}

TEST(ReplaceCharAt, GrowsALineAsFarAsItNeeds) {
  std::string line(5000, '&');
  for (std::size_t i = line.size(); i-- > 0;) ReplaceCharAt(line, '&', "&amp;", i);
  ASSERT_EQ(line.size(), 5000u * 5);
  EXPECT_EQ(line.substr(line.size() - 5), "&amp;");
}

TEST(FindAllOccurrences, DropsAPartialMatchWithoutRetryingTheByteThatBrokeIt) {
  struct Case {
    std::string text;
    std::vector<long> expected;
  };
  const Case cases[] = {
      {"", {-1}},
      {"xhttp://a http://b", {1, 10, -1}},
      {"HTTP://a", {-1}},
      {"hhttp://a", {-1}},
      {"httphttp://", {-1}},
      {"http://http://", {0, 7, -1}},
      {"http:/", {-1}},
      {"http://", {0, -1}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FindAllOccurrences(c.text, "http://"), c.expected) << c.text;
  }
}

TEST(FindAllOccurrences, HasNoLimitOnTheNumberOfOccurrences) {
  std::string text;
  for (int i = 0; i < 500; ++i) text += "http://";
  const std::vector<long> offsets = FindAllOccurrences(text, "http://");
  ASSERT_EQ(offsets.size(), 501u);
  EXPECT_EQ(offsets[499], 499 * 7);
}

}  // namespace
}  // namespace morvel::oracle
