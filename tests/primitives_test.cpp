// StartsWithNoCase.
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
      {"HTML", "HTM", true},   {"html", "HTM", true},  {"HT", "HTM", false},
      {"&LT;b", "&lt;", true}, {"&Lt;", "&lt;", true}, {"anything", "", true},
      {"", "", true},          {"", "a", false},       {"\x82\xA0", "\x82\xA0", true},
      {"\xA2", "\x82", false}, {"[", "{", false},      {"@", "`", false},
      {"jpgx", "JPG", true},   {"jp", "JPG", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(StartsWithNoCase(c.text, c.prefix), c.expected) << c.text << " / " << c.prefix;
  }
}

}  // namespace
}  // namespace morvel
