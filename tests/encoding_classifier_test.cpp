// The encoding found for a text, fed whole, cut in two at every byte and one byte at a time
// (which shows the byte it is decided at); and the check of UTF-8 text after its mark, on every
// scan path.
#include "text/encoding_classifier.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/scan_paths.h"

namespace morvel {
namespace {

using E = DetectedEncoding;
constexpr std::size_t AT_END = static_cast<std::size_t>(-1);
constexpr std::size_t NO_LIMIT = EncodingClassifier::WHOLE_TEXT;
constexpr std::size_t LIMIT = EncodingClassifier::STANDARD_INPUT_LIMIT;

const std::vector<ScanPath> PATHS = testing::Utf8ScanPaths();

struct ClassifyCase {
  const char* name;
  std::string input;
  std::size_t limit;
  DetectedEncoding encoding;
  std::size_t decidedAfter;  // bytes fed one at a time before it is known, or AT_END
};

// The encoding of `input` given as the blocks it splits into at `cuts`.
DetectedEncoding Classify(std::string_view input, const std::vector<std::size_t>& cuts,
                          std::size_t limit, ScanPath path) {
  EncodingClassifier classifier(limit, path);
  std::size_t from = 0;
  for (const std::size_t cut : cuts) {
    classifier.Write(input.substr(from, cut - from));
    from = cut;
  }
  classifier.Write(input.substr(from));
  return classifier.Finish();
}

std::string Ascii(std::size_t size) { return std::string(size, 'a'); }

std::string Repeat(std::string_view part, std::size_t times) {
  std::string text;
  while (times-- > 0) text += part;
  return text;
}

TEST(EncodingClassifier, FindsTheEncodingWhereverTheInputIsCut) {
  const std::string snowman = "\xE2\x98\x83";
  const std::vector<ClassifyCase> cases = {
      {"empty", "", NO_LIMIT, E::CodePage932, AT_END},
      {"ascii", "plain\r\ntext\t&<>", NO_LIMIT, E::CodePage932, AT_END},
      {"utf8 mark", "\xEF\xBB\xBFz", NO_LIMIT, E::Utf8WithMark, 3},
      {"utf16le mark",
       std::string("\xFF\xFE"
                   "a\0",
                   4),
       NO_LIMIT, E::Utf16Le, 2},
      {"utf16be mark", std::string("\xFE\xFF\0a", 4), NO_LIMIT, E::Utf16Be, 2},
      {"utf8 mark then invalid bytes", "\xEF\xBB\xBF\xFF\xFE", NO_LIMIT, E::Utf8WithMark, 3},
      {"odd-length utf16",
       "\xFF\xFE"
       "a",
       NO_LIMIT, E::Utf16Le, 2},
      {"utf8", "\xE9\x9B\xAA" + snowman + " a&b\thttp://x.jp/", NO_LIMIT, E::Utf8, AT_END},
      {"utf8, four bytes", "\xF0\x9F\x98\x80", NO_LIMIT, E::Utf8, AT_END},
      {"utf8 up to a late bad byte", Ascii(40) + snowman + Ascii(30) + "\xFF", NO_LIMIT,
       E::CodePage932, 74},
      // "日記" in code page 932: its first byte is a continuation byte.
      {"code page 932", "\x93\xFA\x8B\x4C", NO_LIMIT, E::CodePage932, 1},
      // "ﾃｩｽﾄ": "ﾃｩ" is C3 A9, "é" in UTF-8.
      {"code page 932 that starts as utf8", "\xC3\xA9\xBD\xC4", NO_LIMIT, E::CodePage932, 3},
      // "ﾃｽﾄ": C3 BD reads as "ý", and C4 is cut off by the end.
      {"code page 932 ending in a lead byte", "\xC3\xBD\xC4", NO_LIMIT, E::CodePage932, AT_END},
      // No byte could complete these: decided at the byte that shows it.
      {"overlong lead", "\xC0\xAF", NO_LIMIT, E::CodePage932, 1},
      {"overlong three bytes", "\xE0\x80\x80", NO_LIMIT, E::CodePage932, 2},
      {"surrogate", "\xED\xA0\x80", NO_LIMIT, E::CodePage932, 2},
      {"past U+10FFFF", "\xF4\x90\x80\x80", NO_LIMIT, E::CodePage932, 2},
      {"lead past F4", "\xF5\x80\x80\x80", NO_LIMIT, E::CodePage932, 1},
      {"stray ascii in a character",
       "\xE2\x98"
       "a",
       NO_LIMIT, E::CodePage932, 3},
      {"mark's start alone", "\xEF\xBB", NO_LIMIT, E::CodePage932, AT_END},
      {"mark's start then text",
       "\xFF"
       "a",
       NO_LIMIT, E::CodePage932, 2},
      {"mark's start then U+FEC0", "\xEF\xBB\x80", NO_LIMIT, E::Utf8, AT_END},
      // The text ends at the first 0x1A: what follows it is not read.
      {"0x1A ends utf8", "\xC3\xA9\x1A\xFF", NO_LIMIT, E::Utf8, 3},
      {"0x1A ends a character", "\xC3\x1A\xA9", NO_LIMIT, E::CodePage932, 2},
      {"0x1A cuts a mark", "\xEF\xBB\x1A\xBF", NO_LIMIT, E::CodePage932, 3},
      {"0x1A first", "\x1A\xC3\xA9", NO_LIMIT, E::CodePage932, 1},
      // Standard input: the first 64 KiB decide.
      {"stdin utf8 before the limit", snowman + Ascii(LIMIT - 3) + "\xFF", LIMIT, E::Utf8, LIMIT},
      {"stdin ascii to the limit", Ascii(LIMIT) + snowman, LIMIT, E::CodePage932, LIMIT},
      {"stdin character cut by the limit", Ascii(LIMIT - 1) + snowman, LIMIT, E::Utf8, LIMIT},
      {"stdin invalid before the limit", snowman + Ascii(LIMIT - 5) + "\xC0" + snowman, LIMIT,
       E::CodePage932, LIMIT - 1},
      {"stdin cut character never valid", Ascii(LIMIT - 1) + "\xC0", LIMIT, E::CodePage932, LIMIT},
      {"stdin shorter than the limit", Ascii(99) + snowman, LIMIT, E::Utf8, AT_END},
      {"stdin ending in a cut character", snowman + "\xE2\x98", LIMIT, E::CodePage932, AT_END},
      {"stdin 0x1A before the limit", "\xE2\x98\x1A" + Ascii(LIMIT), LIMIT, E::CodePage932, 3},
      {"stdin mark", "\xFE\xFF" + Ascii(LIMIT), LIMIT, E::Utf16Be, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    for (const ScanPath path : PATHS) {
      EXPECT_EQ(Classify(c.input, {}, c.limit, path), c.encoding);
      // Cut in two at every byte; for long inputs, at the bytes near their start and end.
      for (std::size_t cut = 0; cut <= c.input.size(); ++cut) {
        if (cut == 8 && c.input.size() > 64) cut = c.input.size() - 8;
        ASSERT_EQ(Classify(c.input, {cut}, c.limit, path), c.encoding) << "cut at " << cut;
      }
    }
    EncodingClassifier classifier(c.limit);
    std::size_t fed = 0;
    while (fed < c.input.size() && classifier.Write(c.input.substr(fed++, 1)) == E::Undecided) {
    }
    const DetectedEncoding early = classifier.Encoding();
    EXPECT_EQ(early == E::Undecided ? AT_END : fed, c.decidedAfter);
    EXPECT_EQ(classifier.Finish(), c.encoding);
    const std::size_t mark = c.encoding == E::Utf8WithMark                          ? 3
                             : c.encoding == E::Utf16Le || c.encoding == E::Utf16Be ? 2
                                                                                    : 0;
    EXPECT_EQ(classifier.MarkLength(), mark);
  }
}

// The first bad byte of `text` given in two blocks, as its offset in the text; one found at the
// start of the second block is placed at the cut.
std::size_t ScanInTwo(std::string_view text, std::size_t cut, ScanPath path) {
  Utf8Scan scan(path);
  const std::size_t first = scan.Scan(text.substr(0, cut));
  if (first != Utf8Scan::ALL_VALID) return first;
  const std::size_t second = scan.Scan(text.substr(cut));
  return second == Utf8Scan::ALL_VALID ? second : cut + second;
}

// A sequence placed at every offset from 0 to 130 of valid text, so that it falls on every place
// of the 64 bytes the SSE2 and SSSE3 paths look at together: every path must find its first
// bad byte.
TEST(Utf8Scan, FindsTheFirstBadByteOnEveryPathWhereverItStands) {
  constexpr std::size_t VALID = Utf8Scan::ALL_VALID;
  const std::vector<std::pair<std::string, std::size_t>> probes = {
      {"\xC3\xA9", VALID},
      {"\xC2\x80", VALID},
      {"\xDF\xBF", VALID},
      {"\xEF\xBD\xB1", VALID},
      {"\xE0\xA0\x80", VALID},
      {"\xED\x9F\xBF", VALID},
      {"\xF0\x9F\x98\x80", VALID},
      {"\xF4\x8F\xBF\xBF", VALID},
      {"\xF0\x90\x80\x80", VALID},
      {"\xEF\xBF\xBF", VALID},
      {"\xF0\x8F\xBF\xBF", 0},
      {"\xF5\x80\x80\x80", 0},
      {"\xF0\x9F\x98"
       "a",
       0},
      {"\xC3\xC3\xA9", 0},
      {"\xE3\x81\x82\x80", 3},
      {"\xC0\x80", 0},
      {"\xC1\xBF", 0},
      {"\xE0\x9F\xBF", 0},
      {"\xED\xA0\x80", 0},
      {"\xF4\x90\x80\x80", 0},
      {"\x80", 0},
      {"\xF8\x80\x80\x80", 0},
      {"\xE3\x81"
       "a",
       0},
      {"\xE3\xC3\xA9", 0},
      {"\xC3\xA9\xA9", 2},
  };
  for (const auto& [probe, badAt] : probes) {
    for (const int filler : {0, 1, 2}) {
      for (std::size_t at = 0; at <= 130; ++at) {
        // `at` bytes of ASCII, or of "あ" with the 0 to 2 ASCII bytes left over first or last.
        std::string before(filler == 0 ? at : at % 3, 'a');
        for (std::size_t i = 0; filler != 0 && i < at / 3; ++i) {
          before.insert(filler == 1 ? before.size() : 0, "\xE3\x81\x82");
        }
        std::string after;
        for (int i = 0; i < 30; ++i) after += "\xE3\x81\x82";
        const std::string text = before + probe + after;
        const std::size_t bad = badAt == VALID ? VALID : at + badAt;
        SCOPED_TRACE(::testing::PrintToString(text));
        for (const ScanPath path : PATHS) {
          ASSERT_EQ(Utf8Scan(path).Scan(text), bad);
          for (const std::size_t cut : {at, at + 1, std::size_t{64}, std::size_t{65}}) {
            // A bad sequence that the cut splits may show only after it.
            const std::size_t found = ScanInTwo(text, cut, path);
            const bool split = bad != VALID && bad < cut && cut < at + probe.size();
            ASSERT_TRUE(found == bad || (split && found == cut)) << "cut at " << cut;
          }
        }
      }
    }
  }
}

struct ValidateCase {
  std::string input;    // the text after its mark, cut before its end of text
  std::size_t badLine;  // 0 when the text is valid
};

TEST(Utf8Validator, PassesValidTextOnAndNamesTheLineOfTheFirstBadSequence) {
  const std::vector<ValidateCase> cases = {
      {"a\n\xC3\xA9\r\n\xF0\x9F\x98\x80", 0},
      {"", 0},
      {"a\n\n\xFF\n", 3},
      {"\n\xEF\xBB\xBF\xC0\xAF", 2},
      // A line feed inside a character: the bad sequence is on the line before it.
      {"a\n\xE3\x81\nb", 2},
      {"a\n\xE3\x81", 2},
      {"\xED\xA0\x80", 1},
      {"\n\n\n\xF4\x90\x80\x80", 4},
      {"\xE0\x9F\xBF", 1},
      // Line feeds counted eight bytes at a time, over more than 255 such words; 8A is
      // 0A with its high bit set.
      {Repeat("abc\n\xC3\xA9\xC2\x8A", 300) + "\xFF", 301},
      // Long runs of line feeds: more than 255 in one byte of those words, and in all of them.
      {Repeat("a\n", 1000) + "\xFF", 1001},
      {std::string(3000, '\n') + "\xFF", 3001},
      {std::string(2047, '\n') + "\xE3\x81\x82" + std::string(2049, '\n') + "\xC0\x80", 4097},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.input.substr(0, 40)));
    for (const ScanPath path : PATHS) {
      for (std::size_t cut = 0; cut <= c.input.size(); ++cut) {
        Utf8Validator validator(path);
        validator.Write(c.input.substr(0, cut));
        validator.Write(c.input.substr(cut));
        const bool valid = validator.Finish();
        ASSERT_EQ(valid ? 0 : validator.InvalidLine(), c.badLine) << "cut at " << cut;
      }
    }
  }
}

}  // namespace
}  // namespace morvel
