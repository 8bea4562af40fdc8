// The reference for UTF-8 pages: a code page 932 page re-encoded, with its declaration.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/oracle/utf8_page.h"

namespace morvel::oracle {
namespace {

struct PageCase {
  std::string page;                 // code page 932
  std::optional<std::string> utf8;  // its UTF-8 page
};

TEST(Utf8PageOracle, ReencodesThePageAndDeclaresItRightAfterHead) {
  const std::string meta(UTF8_PAGE_META);
  const std::vector<PageCase> cases = {
      // "日記" in the title, "ソ" (second byte "\\"), "ｱ" and "～" in the body.
      {"<!-- m -->\n<HTML><HEAD><TITLE>\x93\xFA\x8B\x4C</TITLE></HEAD>\n"
       "<BODY>\x83\x5C\xB1\x81\x60\\~<HEAD>\r\n",
       "<!-- m -->\n<HTML><HEAD>" + meta +
           "<TITLE>\xE6\x97\xA5\xE8\xA8\x98</TITLE></HEAD>\n"
           "<BODY>\xE3\x82\xBD\xEF\xBD\xB1\xEF\xBD\x9E\\~<HEAD>\r\n"},
      {"<HTML><TITLE>a</TITLE>", std::nullopt},
      // A lead byte whose second byte is cut off.
      {"<HEAD>\x93", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf8PageOf(c.page), c.utf8) << testing::PrintToString(c.page);
  }
}

}  // namespace
}  // namespace morvel::oracle
