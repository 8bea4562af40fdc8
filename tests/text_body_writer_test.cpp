// The text page under the switches, through ConvertFile: what no line buffer limit may cut
// short, the state that every conversion starts afresh, and inputs built to make a quadratic
// step show as a timeout; then the writer itself against the one-at-a-time reference, its
// input cut into blocks everywhere. (Timed with <ctime>: <chrono> holds a literal that code
// page 932 cannot represent.)
#include "engine/text_body_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>

#include "engine/morvel.h"
#include "tests/oracle/one_at_a_time.h"
#include "tests/support/fake_platform.h"
#include "tests/support/plain_options.h"
#include "tests/support/written_page.h"

namespace morvel {
namespace {

const std::string SIX_SPACES = "　　　　　　";
const std::string HEAD =
    "<!--MORVEL1.3-->\r\n<HTML><HEAD><TITLE>T</TITLE></HEAD>\r\n"
    "<BODY bgcolor=\"FFFFFF\" text=\"000000\">\r\n";
const std::string BOX =
    "<TABLE border=\"1\" align=\"right\">\r\n<TR><TD>\r\n"
    "<SPAN style=\"font-size:10px\">更新日　2002年　3月16日　9時5分</SPAN>\r\n"
    "</TD></TR>\r\n</TABLE>\r\n<BR>";
const std::string FOOTER = "\r\n</BODY>\r\n</HTML>";

std::string Repeat(const std::string& piece, std::size_t times) {
  std::string text;
  text.reserve(piece.size() * times);
  for (std::size_t i = 0; i < times; ++i) text += piece;
  return text;
}

class TextPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake.files.AddFolder("C:\\in");
    fake.files.AddFolder("C:\\out");
  }
  std::string Convert(const std::string& input, const ConversionOptions& options) {
    fake.files.AddFile("C:\\in\\case.txt", input);
    auto request = testing::RequestFor("C:\\in\\case.txt", "C:\\out\\page.htm", options);
    fake.user.Answer(testing::ANSWER_OK);  // the overwrite question of a second conversion
    EXPECT_EQ(ConvertFile(request, fake.platform), ConversionOutcome::Written);
    return fake.files.Contents("C:\\out\\page.htm");
  }
  testing::FakePlatform fake;
};

TEST_F(TextPageTest, ALongLineGetsEveryReplacementAndTag) {
  // 20000 bytes that grow past the room a page cursor opens with, in one piece.
  const std::string line = Repeat("&", 19988) + "\thttp://a/ \n";
  ASSERT_GT(line.size() * 5, PageCursor::MIN_ROOM);
  ConversionOptions options;
  options.stampEnabled = false;
  options.lineTagMode = LineTagMode::BreaksOnly;
  EXPECT_EQ(Convert(line, options), HEAD + Repeat("&amp;", 19988) + SIX_SPACES +
                                        "<A href=\"http://a/\">http://a/</A> <BR>\r\n" + FOOTER);
}

TEST_F(TextPageTest, EveryConversionStartsTheParagraphStateAfresh) {
  ConversionOptions options;
  options.stampEnabled = false;
  EXPECT_EQ(Convert("a\n", options), HEAD + "\r\na" + FOOTER);
  EXPECT_EQ(Convert("b\n", options), HEAD + "\r\nb" + FOOTER);
}

TEST_F(TextPageTest, AFourMegabyteLineOfEntitiesTabsAndAddressesConvertsQuickly) {
  const std::size_t pieces = 350000;  // 4.2 MB
  const std::string line = Repeat("&\thttp://x/?a&b ", pieces);
  const std::clock_t start = std::clock();
  const std::string page = Convert(line, ConversionOptions{});
  const double seconds = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
  EXPECT_EQ(page, HEAD + BOX + "\r\n" +
                      Repeat("&amp;" + SIX_SPACES +
                                 "<A href=\"http://x/?a&amp;b\">http://x/?a&amp;b</A> ",
                             pieces) +
                      FOOTER);
  EXPECT_LT(seconds, 5.0);
}

struct Pathological {
  const char* name;
  std::string line;
  std::string linked;
};

TEST_F(TextPageTest, PathologicalAddressLinesTakeLinearTime) {
  const std::size_t size = 4 * 1024 * 1024;
  const std::string chained = Repeat("http://", size / 7);
  const Pathological cases[] = {
      {"one address made of 600,000 prefixes", chained,
       "<A href=\"" + chained + "\">" + chained + "</A>"},
      {"only h", std::string(size, 'h'), std::string(size, 'h')},
      {"partial matches", Repeat("http:/", size / 6), Repeat("http:/", size / 6)},
      {"lead bytes, then an h that starts a character", std::string(size, '\x81') + "http://x/",
       std::string(size, '\x81') + "<A href=\"http://x/\">http://x/</A>"},
      {"lead bytes, each pair ending in h", Repeat("\x81h", size / 2), Repeat("\x81h", size / 2)},
      {"long runs of lead bytes between h, after an address",
       "http://x/ " + Repeat(std::string(1000, '\x81') + "h", size / 1001),
       "<A href=\"http://x/\">http://x/</A> " +
           Repeat(std::string(1000, '\x81') + "h", size / 1001)},
  };
  ConversionOptions options;
  options.stampEnabled = false;
  options.lineTagsEnabled = false;
  // These lines hold nothing to escape; with escaping off, an "&" would be looked at for an
  // entity that ends the address.
  for (const bool escape : {false, true}) {
    options.escapeSpecials = escape;
    for (const auto& c : cases) {
      const std::clock_t start = std::clock();
      const std::string page = Convert(c.line, options);
      const double seconds = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
      EXPECT_TRUE(page == HEAD + c.linked + FOOTER) << c.name << ", escaping " << escape;
      EXPECT_LT(seconds, 5.0) << c.name << ", escaping " << escape;
    }
  }
}

// Texts as a file holds them, against the reference line by line, under every combination of
// the switches, on every scan path, cut into blocks
// everywhere: once at each position, and into blocks of 1 to 7 bytes. The texts hold what the
// writer carries across a cut: CR LF and lone CRs, empty lines, the bytes around an address that
// decide whether it starts, entities that end an address, lead and trail bytes, and lines long
// enough for the 64-byte blocks.
TEST(TextBodyWriterBlocks, WriteWhatTheReferenceWritesLineByLine) {
  const std::string longPlain = Repeat("\x82\xa0x", 40) + "\t&\"<>" + Repeat("y", 70);
  const std::vector<std::string> lines = {
      "plain text before an address http://a.example/x?y=1&z=2>3 after it",
      "hhttp://not/linked",
      "xhttp://linked/",
      ":http://colon/",
      "/http://slash/",
      "httphttp://c/",
      "https://s/ http://after/https",
      "\x81http://trail/h",
      "\x81\x81http://lead/pair",
      "h\x81\x81\x81http://x/",
      "\thttp://after/tab",
      "\"http://in/quotes\"",
      "&http://x/&lt;y&LT;z",
      "http://x/&quot;y",
      "http://x/&qUoT;y&quo http://y/&l&lt http://z/&&lt;",
      "http://x/http://inner/ http://second/",
      "http://a/\rb",
      "http://",
      "http://a/\x81http://trail/ http://b/\x81\x81http://pair/ http://c/ hhttp://d/",
      "http://a/\"http://b/<http://c/>http://d/\thttp://e/ :http://f/ http://g/",
      "",
      "\r",
      "x\r",
      "\r\r",
      "\0",
      longPlain,
      "http://long/" + Repeat("a-b/", 20) + "&amp;" + Repeat("c", 40) + "&lt;d\x7f",
      Repeat("x", 50) + "http://" + Repeat("e", 33) + "&Quot;f" + Repeat("g", 31) + "\"",
      Repeat("\x81", 65) + "http://after/65/lead/bytes",
      longPlain + "http://late/",
  };
  std::string lf;
  std::string crlf;
  for (const auto& line : lines) {
    lf += line + "\n";
    crlf += line + "\r\n";
  }
  const std::vector<std::string> texts = {lf,
                                          crlf,
                                          lf + "\r\n\n" + crlf + "http://no/end",
                                          crlf + longPlain,
                                          "\n\n\r\n",
                                          "\r",
                                          "http://x/&l",
                                          "htt",
                                          "a\x81"};

  for (unsigned switches = 0; switches < 16; ++switches) {
    const ConversionOptions options = testing::SwitchesFrom(switches);
    for (const auto& text : texts) {
      const std::string expected = oracle::PageOfText(text, testing::ReferenceSwitches(options));
      for (const ScanPath scan : testing::ScanPaths()) {
        const auto where = [&] {
          return "switches " + std::to_string(switches) + ", scan " +
                 std::to_string(static_cast<int>(scan)) + ", text of " +
                 std::to_string(text.size()) + " bytes";
        };
        EXPECT_EQ(testing::WrittenPage(text, options, scan), expected) << where();
        std::vector<std::size_t> cuts(1);
        for (cuts[0] = 1; cuts[0] < text.size(); ++cuts[0]) {
          const std::string page = testing::WrittenPage(text, options, scan, cuts);
          if (page != expected) ADD_FAILURE() << where() << ", cut at " << cuts[0];
        }
        for (std::size_t size = 1; size <= 7; ++size) {
          cuts.clear();
          for (std::size_t cut = size; cut < text.size(); cut += size) cuts.push_back(cut);
          const std::string page = testing::WrittenPage(text, options, scan, cuts);
          if (page != expected) ADD_FAILURE() << where() << ", blocks of " << size;
        }
      }
    }
  }
}

// Texts in which every byte or nearly every byte is significant, whose pages outgrow the room
// that a page cursor opens with many times over: every scan path writes the byte loop's page
// (which the reference checks on the table above), in code page 932 and in UTF-8, whose
// replacements are longer. Under AddressSanitizer, a step writing past its room shows here.
TEST(TextBodyWriterBlocks, WritesDensePagesPastTheCursorsRoomOnEveryPath) {
  const std::size_t size = PageCursor::MIN_ROOM / 2;
  const std::vector<std::string> texts = {
      std::string(size, '&'),         std::string(size, '\t'),      std::string(size, '\n'),
      Repeat("\r\n", size / 2),       Repeat("\t&\n<\"", size / 5), Repeat("a\n\n\t", size / 4),
      Repeat("&\thttp://x/>\n", size / 13)};
  for (unsigned switches = 0; switches < 16; ++switches) {
    const ConversionOptions options = testing::SwitchesFrom(switches);
    for (const auto& text : texts) {
      for (const PageEncoding encoding : {PageEncoding::CodePage932, PageEncoding::Utf8}) {
        const std::string bytes = testing::WrittenPage(text, options, ScanPath::Bytes, {}, encoding);
        for (const ScanPath scan : testing::ScanPaths()) {
          EXPECT_EQ(testing::WrittenPage(text, options, scan, {}, encoding), bytes)
              << "switches " << switches << ", scan " << static_cast<int>(scan) << ", encoding "
              << static_cast<int>(encoding) << ", text starting " << static_cast<int>(text[0]);
        }
      }
    }
  }
}

// With the lead-byte rule off (text in which no byte of a multi-byte character is ASCII), a
// byte of 0x80 or above stands alone: it breaks a match and ends an address, and never takes
// the "h" after it into its character. Whole and cut at every position, on every scan path.
TEST(TextBodyWriterBlocks, TakesEveryByteAloneWithTheLeadByteRuleOff) {
  const std::pair<std::string, std::string> cases[] = {
      {"\x81http://x/", "\x81<A href=\"http://x/\">http://x/</A>"},
      {"\x81hhttp://x/", "\x81hhttp://x/"},
      {"http://x/\x81http://y/ \x81",
       "<A href=\"http://x/\">http://x/</A>\x81<A href=\"http://y/\">http://y/</A> \x81"},
  };
  const ConversionOptions linksOnly = testing::SwitchesFrom(0b0010);
  for (const auto& [text, page] : cases) {
    for (const ScanPath scan : testing::ScanPaths()) {
      std::vector<std::size_t> cuts(1);
      for (cuts[0] = 0; cuts[0] < text.size(); ++cuts[0]) {
        EXPECT_EQ(testing::WrittenPage(text, linksOnly, scan, cuts, PageEncoding::Utf8), page)
            << text << " cut at " << cuts[0];
      }
    }
  }
}

struct ReferenceCase {
  unsigned switches;  // as testing::SwitchesFrom() takes them
  std::string before;
  std::string after;
  std::string page;
};

// A numeric character reference between two blocks of text, written as it stands.
TEST(TextBodyWriterBlocks, WritesAReferenceAsTextThatEndsAnyAddress) {
  const ReferenceCase cases[] = {
      {0b0011, "http://x/", "y", "<A href=\"http://x/\">http://x/</A>&#9731;y"},
      {0b0011, "htt", "p://x/", "htt&#9731;p://x/"},
      {0b0010, "http://x/&l", "t;", "<A href=\"http://x/&l\">http://x/&l</A>&#9731;t;"},
      {0b0011, "&", "<", "&amp;&#9731;&lt;"},
      {0b0011, "\x81", "http://x/", "\x81&#9731;<A href=\"http://x/\">http://x/</A>"},
      {0b0000, "a\r", "\n", "a\r&#9731;\r\n"},
      {0b0111, "a\n\n", "\n\nb", "\r\na<P>\r\n\r\n&#9731;<P>\r\n\r\nb"},
      {0b0111, "a\n", "b", "\r\na<BR>\r\n&#9731;b"},
      {0b1111, "\n", "\n", "<BR>\r\n&#9731;<BR>\r\n"},
  };
  for (const auto& c : cases) {
    for (const ScanPath scan : testing::ScanPaths()) {
      testing::StringByteWriter file;
      PageWriter page(file);
      TextBodyWriter writer(testing::SwitchesFrom(c.switches), page, PageEncoding::CodePage932,
                            scan);
      writer.Write(c.before);
      writer.WriteReference("&#9731;");
      writer.Write(c.after);
      writer.Finish();
      page.Finish();
      EXPECT_EQ(file.text, c.page) << c.before << " / " << c.after;
    }
  }
}

}  // namespace
}  // namespace morvel
