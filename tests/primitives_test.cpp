#include "text/primitives.h"

#include <gtest/gtest.h>

namespace morvel {
namespace {

TEST(StartsWithNoCase, FoldsOnlyAsciiLettersAndLetsTheTextGoOn) {
  struct Case {
    std::string_view text, prefix;
    bool expected;
  };
  const Case cases[] = {
      {"HTML", "HTM", true},     {"html", "HTM", true},         {"HT", "HTM", false},
      {"&LT;b", "&lt;", true},   {"&Lt;", "&lt;", true},        {"anything", "", true},
      {"", "", true},            {"", "a", false},              {"\x82\xA0", "\x82\xA0", true},
      {"\xA2", "\x82", false},   {"[", "{", false},             {"@", "`", false},
      {"jpgx", "JPG", true},     {"jp", "JPG", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(StartsWithNoCase(c.text, c.prefix), c.expected) << c.text << " / " << c.prefix;
  }
}

TEST(StringLength, CountsBytesBeforeTheTerminator) {
  EXPECT_EQ(StringLength(""), 0);
  EXPECT_EQ(StringLength("\x95\x5C"), 2);
  EXPECT_EQ(StringLength("ab\0cd"), 2);
}

TEST(ReplaceCharAt, ReplacesOnlyTheWantedByteInsideTheString) {
  struct Case {
    std::string buffer;
    char wanted;
    std::string_view replacement;
    std::ptrdiff_t position;
    std::string expected;
  };
  const Case cases[] = {
      {"A&B", '&', "&amp;", 1, "A&amp;B"},
      {"A&B", '&', "&amp;", 0, "A&B"},
      {"A&B", '&', "&amp;", -1, "A&B"},
      {"A&B", '&', "&amp;", 3, "A&B"},
      {"A&B", '&', "&amp;", 99, "A&B"},
      {"\n", '\n', "<BR>\n", 0, "<BR>\n"},
      {"", '\n', "<BR>\n", 0, ""},
  };
  for (auto c : cases) {
    ReplaceCharAt(c.buffer, c.wanted, c.replacement, c.position);
    EXPECT_EQ(c.buffer, c.expected);
  }
}

TEST(ReplaceCharAt, GrowsPastTheOldLineBufferSize) {
  std::string line(2999, '&');
  for (std::ptrdiff_t i = static_cast<std::ptrdiff_t>(line.size()) - 1; i >= 0; --i) {
    ReplaceCharAt(line, '&', "&amp;", i);
  }
  ASSERT_EQ(line.size(), 2999u * 5);
  EXPECT_EQ(line.substr(line.size() - 5), "&amp;");
}

TEST(FindAllOccurrences, DropsAPartialMatchWithoutRetryingTheByteThatBrokeIt) {
  struct Case {
    std::string_view text;
    std::vector<std::size_t> expected;
  };
  const Case cases[] = {
      {"", {}},
      {"xhttp://a http://b", {1, 10}},
      {"HTTP://a", {}},
      {"hhttp://a", {}},
      {"httphttp://", {}},
      {"http://http://", {0, 7}},
      {"http:/", {}},
      {"http://", {0}},
  };
  std::vector<std::size_t> offsets{42};
  for (const auto& c : cases) {
    FindAllOccurrences(c.text, "http://", offsets);
    EXPECT_EQ(offsets, c.expected) << c.text;
  }
}

TEST(FindAllOccurrences, HasNoLimitOnTheNumberOfOccurrences) {
  std::string text;
  for (int i = 0; i < 500; ++i) text += "http://";
  std::vector<std::size_t> offsets;
  FindAllOccurrences(text, "http://", offsets);
  ASSERT_EQ(offsets.size(), 500u);
  EXPECT_EQ(offsets.back(), 499u * 7);
}

}  // namespace
}  // namespace morvel
