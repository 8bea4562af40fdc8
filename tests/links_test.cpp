// Automatic links in the one-at-a-time reference, held to hand-written bytes, and the text
// page writer held to the reference on the same lines, cut everywhere, escaping off.
#include <gtest/gtest.h>

#include "tests/oracle/one_at_a_time.h"
#include "tests/support/written_page.h"

namespace morvel {
namespace {

using namespace std::string_literals;

struct LinkCase {
  std::string line;
  std::string expected;
};

// `before`, the anchor for `address`, then `after`. (Built by appending: GCC 12 warns
// falsely about "literal" + std::string temporaries at -O3.)
std::string Anchored(const std::string& before, const std::string& address,
                     const std::string& after = "") {
  std::string text = before;
  text.append("<A href=\"").append(address).append("\">").append(address).append("</A>");
  return text.append(after);
}

void ExpectLinks(const std::vector<LinkCase>& cases) {
  const ConversionOptions linksOnly = testing::SwitchesFrom(0b0010);
  for (const auto& c : cases) {
    EXPECT_EQ(oracle::LinkAddresses(c.line), c.expected) << c.line;
    EXPECT_EQ(testing::PageOfBlocks(c.line, linksOnly),
              oracle::PageOfText(c.line, testing::ReferenceSwitches(linksOnly)))
        << c.line;
  }
}

TEST(AutomaticLinksTest, WrapsEveryAddressUpToItsEndingByte) {
  ExpectLinks({
      {"see http://x/a now\n", "see <A href=\"http://x/a\">http://x/a</A> now\n"},
      {"http://x/ http://y/\n",
       "<A href=\"http://x/\">http://x/</A> <A href=\"http://y/\">http://y/</A>\n"},
      {"http:// x\n", "<A href=\"http://\">http://</A> x\n"},
      {"http://x/", "<A href=\"http://x/\">http://x/</A>"},
      {"http://x/日本\n", "<A href=\"http://x/\">http://x/</A>日本\n"},
      {"http://x/\xB1\n", "<A href=\"http://x/\">http://x/</A>\xB1\n"},
      {"http://x/\ty", "<A href=\"http://x/\">http://x/</A>\ty"},
      {"http://x/\x7Fy", "<A href=\"http://x/\">http://x/</A>\x7Fy"},
      {"http://x\0y"s, "<A href=\"http://x\">http://x</A>\0y"s},
      {"\"http://x/\"\n", "\"<A href=\"http://x/\">http://x/</A>\"\n"},
      {"http://x/<b>", "<A href=\"http://x/\">http://x/</A><b>"},
      {"&quot;http://x/&quot;\n", "&quot;<A href=\"http://x/\">http://x/</A>&quot;\n"},
      {"http://x/&LT;b\n", "<A href=\"http://x/\">http://x/</A>&LT;b\n"},
      {"http://x/&Lt;b http://y/&qUOT;",
       "<A href=\"http://x/\">http://x/</A>&Lt;b "
       "<A href=\"http://y/\">http://y/</A>&qUOT;"},
      {"http://x/&lt", "<A href=\"http://x/&lt\">http://x/&lt</A>"},
      {"http://x/&quo;", "<A href=\"http://x/&quo;\">http://x/&quo;</A>"},
      {"http://x/?a=1&amp;b=2&gt;'c;d>e~\n",
       "<A href=\"http://x/?a=1&amp;b=2&gt;'c;d>e~\">http://x/?a=1&amp;b=2&gt;'c;d>e~</A>\n"},
  });
}

TEST(AutomaticLinksTest, FindsOnlyExactLowerCaseStartsThatTheSearchDoesNotSkip) {
  ExpectLinks({
      {"HTTP://x/ https://x/ Http://x/\n", "HTTP://x/ https://x/ Http://x/\n"},
      {"hhttp://x/ httphttp://x/ htthttp://x/\n", "hhttp://x/ httphttp://x/ htthttp://x/\n"},
      {"hhhttp://x/", Anchored("hh", "http://x/")},
      {"http:/http://x/", "http:/http://x/"},
      {"no address here\n", "no address here\n"},
      {"", ""},
      {"http:/", "http:/"},
  });
}

TEST(AutomaticLinksTest, MatchesOnlyAtCharacterStarts) {
  ExpectLinks({
      // ド is 0x83 0x68: its trail byte is an "h".
      {"ダウンロードttp://x/\n", "ダウンロードttp://x/\n"},
      {"ダウンロードhttp://x/\n", Anchored("ダウンロード", "http://x/", "\n")},
      {"表http://x/", Anchored("表", "http://x/")},
      {"\xB1http://x/", Anchored("\xB1", "http://x/")},
      // Runs of lead-byte values pair up from their first byte.
      {"\x81\x81http://x/", Anchored("\x81\x81", "http://x/")},
      {"\x81\x81\x81http://x/", "\x81\x81\x81http://x/"},
      {"a\x9F\xE0\xFCh\x81http://x/",
       "a\x9F\xE0\xFCh\x81"
       "http://x/"},
      // A double-byte character breaks a partial match and takes the next byte with it.
      {"htt\x83http://x/", "htt\x83http://x/"},
      {"htt\x83xhttp://x/", Anchored("htt\x83x", "http://x/")},
      {"abc\x83", "abc\x83"},
  });
}

TEST(AutomaticLinksTest, KeepsAnInnerAddressInTheFirstAnchor) {
  ExpectLinks({
      {"http://a/?u=http://b/ x", Anchored("", "http://a/?u=http://b/", " x")},
      {"http://http://x", Anchored("", "http://http://x")},
      {"http://http:// http://y", Anchored("", "http://http://", " ") + Anchored("", "http://y")},
  });
}

TEST(AutomaticLinksTest, HasNoLimitOnAddressesOrTheirLength) {
  std::string many;
  std::string manyLinked;
  for (int i = 0; i < 500; ++i) {
    many += "http://a/ ";
    manyLinked += "<A href=\"http://a/\">http://a/</A> ";
  }
  const std::string longAddress = "http://" + std::string(393, 'a');
  ExpectLinks({
      {many, manyLinked},
      {longAddress + "\n", "<A href=\"" + longAddress + "\">" + longAddress + "</A>\n"},
  });
}

}  // namespace
}  // namespace morvel
