// UTF-16 text in both byte orders to UTF-8, whole, cut in two at every byte and one byte at a
// time: the UTF-8, where the end of text stops it, and the line of an invalid unit.
#include "text/utf16_to_utf8.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace morvel {
namespace {

struct Utf16Case {
  std::u16string units;
  std::string oddByte;  // a last byte after the units, or none
  std::string utf8;     // what is appended before the end, the end of text or the bad unit
  std::size_t badLine;  // 0 when the text is valid
};

std::string Bytes(const Utf16Case& c, bool bigEndian) {
  std::string bytes;
  for (const char16_t unit : c.units) {
    const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
    bytes += bigEndian ? high : low;
    bytes += bigEndian ? low : high;
  }
  return bytes + c.oddByte;
}

// Converts `input` given as the blocks it splits into at `cuts`; the UTF-8 and the bad line.
std::pair<std::string, std::size_t> Transcode(std::string_view input, bool bigEndian,
                                              const std::vector<std::size_t>& cuts) {
  Utf16ToUtf8 transcoder(bigEndian);
  std::string utf8;
  std::size_t from = 0;
  for (const std::size_t cut : cuts) {
    transcoder.Write(input.substr(from, cut - from), utf8);
    from = cut;
  }
  transcoder.Write(input.substr(from), utf8);
  const bool valid = transcoder.Finish();
  return {utf8, valid ? 0 : transcoder.InvalidLine()};
}

TEST(Utf16ToUtf8, ConvertsBothByteOrdersWhereverTheInputIsCut) {
  const std::vector<Utf16Case> cases = {
      {u"A\n\u96EA\u2603 a&b\thttp://x.jp/", "", "A\n\xE9\x9B\xAA\xE2\x98\x83 a&b\thttp://x.jp/",
       0},
      // The edges of each UTF-8 length.
      {u"\u007F\u0080\u07FF\u0800\uD7FF\uE000\uFFFF", "",
       "\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xED\x9F\xBF\xEE\x80\x80\xEF\xBF\xBF", 0},
      {u"\U0001F600\U00010000\U0010FFFF", "", "\xF0\x9F\x98\x80\xF0\x90\x80\x80\xF4\x8F\xBF\xBF",
       0},
      {u"0123456789abcdefgh\tijklmnopq\r\nrstuvwxyz", "",
       "0123456789abcdefgh\tijklmnopq\r\nrstuvwxyz", 0},
      // Units whose other byte order would read as ASCII.
      {u"\u3000\u4E00\u2000\u7F00", "", "\xE3\x80\x80\xE4\xB8\x80\xE2\x80\x80\xE7\xBC\x80", 0},
      // A 0x1A byte inside a unit (U+4E1A, U+1A4E) is no end of text; U+001A is.
      {u"\u4E1A\u1A4E", "", "\xE4\xB8\x9A\xE1\xA9\x8E", 0},
      {u"ab\u001A\xD800\n", "x", "ab", 0},
      {u"\u001A", "x", "", 0},
      {u"abc\u001Adefgh", "", "abc", 0},
      // Unpaired surrogates and an odd last byte, and the lines that hold them.
      {u"a\xD83D"
       u"b\n",
       "", "a", 1},
      {u"a\n\n\xDE00\U0001F600", "", "a\n\n", 3},
      {u"a\n\xD83D\n", "", "a\n", 2},
      {u"abc\ndef\xDFFF", "", "abc\ndef", 2},
      {u"a\n\xD83D", "", "a\n", 2},
      {u"a\n\xD83D\xD83D\xDE00", "", "a\n", 2},
      {u"\xD83D\u001A", "", "", 1},
      {u"ab\ncd", "x", "ab\ncd", 2},
      {u"ab\n", "x", "ab\n", 2},
      {u"", "x", "", 1},
      {u"\xD83D", "x", "", 1},
      // Long runs of line feeds, counted past 255 at a time.
      {std::u16string(3000, u'\n') + u"\xDC00", "", std::string(3000, '\n'), 3001},
  };
  for (const bool bigEndian : {false, true}) {
    for (const auto& c : cases) {
      const std::string input = Bytes(c, bigEndian);
      SCOPED_TRACE(testing::PrintToString(input));
      const std::pair<std::string, std::size_t> expected{c.utf8, c.badLine};
      EXPECT_EQ(Transcode(input, bigEndian, {}), expected);
      for (std::size_t cut = 0; cut <= input.size(); ++cut) {
        ASSERT_EQ(Transcode(input, bigEndian, {cut}), expected) << "cut at " << cut;
      }
      std::vector<std::size_t> everyByte;
      for (std::size_t cut = 1; cut < input.size(); ++cut) everyByte.push_back(cut);
      EXPECT_EQ(Transcode(input, bigEndian, everyByte), expected);
    }
  }
}

}  // namespace
}  // namespace morvel
