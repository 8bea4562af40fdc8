// The code page 932 table over every Unicode scalar value and every byte sequence, the same
// test natively and under Wine, and the rule that writes what code page 932 lacks as a
// reference.
#include "text/code_page_932.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "text/code_page_932_literal.h"
#include "text/utf16.h"
#include "text/utf8.h"

namespace morvel {
namespace {

// FNV-1a, 64 bits.
struct Digest {
  std::uint64_t value = 0xCBF29CE484222325;
  void Add(unsigned char byte) { value = (value ^ byte) * 0x100000001B3; }
};

std::string Utf8Of(char32_t value) {
  std::string text;
  AppendUtf8(value, text);
  return text;
}

// Literal rows, written out by hand from Windows' table.
TEST(CodePage932, WritesEachCharacterAsWindowsWritesIt) {
  const struct {
    char32_t value;
    std::optional<std::string_view> form;  // nothing: no form
  } CASES[] = {
      // clang-format off
      {U'\x5C', "\x5C"},
      {0x00A5, std::nullopt},    // no look-alike ("\\") for the yen sign
      {0x0080, "\x80"},          // the single bytes outside JIS X 0201
      {0xF8F0, "\xA0"},
      {0xF8F1, "\xFD"},
      {0xF8F3, "\xFF"},
      {0xFF61, "\xA1"},          // half-width katakana
      {0x3000, "\x81\x40"},      // JIS X 0208
      {0x2252, "\x81\xE0"},      // JIS X 0208, not NEC row 13 (0x8790)
      {0xFFE2, "\x81\xCA"},      // JIS X 0208, not IBM's 0xFA54 or NEC's 0xEEF9
      {0x2160, "\x87\x54"},      // NEC row 13, not IBM's 0xFA4A
      {0x2170, "\xFA\x40"},      // IBM's, not NEC's selection 0xEEEF
      {0xE000, "\xF0\x40"},      // the user-defined area
      {0xE757, "\xF9\xFC"},
      {0x301C, std::nullopt},    // best fit only
      {0x2212, std::nullopt},
      {0xD800, std::nullopt},    // a surrogate
      {0x10FFFF, std::nullopt},
      // clang-format on
  };
  for (const auto& c : CASES) {
    SCOPED_TRACE(::testing::Message() << "U+" << std::hex << static_cast<std::uint32_t>(c.value));
    const std::uint16_t form = Cp932Form(c.value);
    EXPECT_EQ(form == NO_CP932_FORM, !c.form);
    if (c.value >= 0xD800 && c.value <= 0xDFFF) continue;
    EXPECT_EQ(Utf8ToCp932(Utf8Of(c.value)), c.form);
    if (c.form) {
      EXPECT_EQ(Cp932ToUtf8(*c.form), Utf8Of(c.value));
    }
  }
}

// Literals converted while compiling take the forms of the rows above, whatever the compiler's
// execution character set.
TEST(CodePage932, LiteralsConvertedWhileCompilingTakeTheFormsWindowsWrites) {
  constexpr std::string_view LITERAL = Cp932<u8"\\a\uFF61\u3000\u2252\uFFE2\u2160\u2170\uE757">;
  static_assert(LITERAL == "\\a\xA1\x81\x40\x81\xE0\x81\xCA\x87\x54\xFA\x40\xF9\xFC");
  static_assert(Cp932<u8"">.empty());
  EXPECT_EQ(LITERAL.data()[LITERAL.size()], '\0');
}

TEST(CodePage932, ReadsEverySequenceWindowsDefines) {
  const struct {
    std::string_view bytes;
    std::optional<char32_t> value;  // nothing: not defined
  } CASES[] = {
      {"\x87\x90", 0x2252},       {"\xEE\xEF", 0x2170}, {"\xFA\x54", 0xFFE2},  // read, not written
      {"\x85\x40", std::nullopt},                                              // an empty row
      {"\x81", std::nullopt},                                                  // a lead byte alone
      {"\x81\x20", std::nullopt},                                              // a bad trail byte
  };
  for (const auto& c : CASES) {
    EXPECT_EQ(Cp932ToUtf8(c.bytes), c.value ? std::optional(Utf8Of(*c.value)) : std::nullopt)
        << ::testing::PrintToString(std::string(c.bytes));
  }
}

// Every scalar value's form, through UTF-8 and UTF-16 alike, as one digest.
TEST(CodePage932, TheWholeTableIsWindowsTable) {
  Digest digest;
  std::size_t held = 0;
  for (char32_t value = 0; value <= 0x10FFFF; ++value) {
    if (value == 0xD800) value = 0xE000;
    std::u16string utf16;
    AppendUtf16(value, utf16);
    const auto form = Utf8ToCp932(Utf8Of(value));
    ASSERT_EQ(Utf16ToCp932(utf16), form) << static_cast<std::uint32_t>(value);
    if (!form) {
      digest.Add(0xFF);
      continue;
    }
    ++held;
    digest.Add(static_cast<unsigned char>(form->size()));
    for (const char byte : *form) digest.Add(static_cast<unsigned char>(byte));
  }
  EXPECT_EQ(held, 9402u);
  EXPECT_EQ(digest.value, 0xC2526B34700AE20Eu);
}

// Every one- and two-byte sequence: what it reads as, as one digest, and back.
TEST(CodePage932, EveryDefinedSequenceReadsAsOneCharacterThatComesBack) {
  std::vector<std::string> sequences;
  for (unsigned byte = 0; byte < 0x100; ++byte) sequences.push_back({static_cast<char>(byte)});
  for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
    if (lead >= 0xA0 && lead < 0xE0) continue;
    for (unsigned trail = 0; trail < 0x100; ++trail) {
      sequences.push_back({static_cast<char>(lead), static_cast<char>(trail)});
    }
  }
  Digest digest;
  std::size_t defined = 0, readOnly = 0;
  for (const std::string& sequence : sequences) {
    const auto utf16 = Cp932ToUtf16(sequence);
    if (!utf16) {
      digest.Add(0xFF);
      continue;
    }
    ++defined;
    digest.Add(static_cast<unsigned char>(utf16->size() * 2));
    for (const char16_t unit : *utf16) {
      digest.Add(static_cast<unsigned char>(unit & 0xFF));
      digest.Add(static_cast<unsigned char>(unit >> 8));
    }
    ASSERT_EQ(Cp932ToUtf8(sequence), Utf16ToUtf8(*utf16));
    // Written back with its form: the same sequence, or the one Windows writes for it.
    const auto form = Utf16ToCp932(*utf16);
    ASSERT_TRUE(form) << ::testing::PrintToString(sequence);
    if (*form != sequence) ++readOnly;
    EXPECT_EQ(Cp932ToUtf16(*form), utf16);
  }
  EXPECT_EQ(defined, 9800u);
  EXPECT_EQ(readOnly, 398u);
  EXPECT_EQ(digest.value, 0xDD391DFEDCD12943u);
}

TEST(Utf8ToCp932WithReferences, WritesWhatCodePage932LacksAsDecimalReferences) {
  const struct {
    std::string_view utf8;
    std::optional<std::string_view> expected;  // nothing: not UTF-8
  } CASES[] = {
      {"", ""},
      {"a<b&c \"d\"", "a<b&c \"d\""},                                   // nothing else escaped
      {"\xE9\x9B\xAA", "雪"},                                           // all held: as it is
      {"\xE9\x9B\xAA\xE2\x98\x83 Caf\xC3\xA9", "雪&#9731; Caf&#233;"},  // 3- and 2-byte forms
      {"\xED\x95\x9C", "&#54620;"},                                     // a Korean syllable
      {"\xF0\x9F\x98\x80!", "&#128512;!"},                              // beyond 16 bits
      {"\xC2\xA5\xC2\x80\xEF\xA3\xB0", "&#165;\x80\xA0"},               // ¥, U+0080, U+F8F0
      {"\xFF", std::nullopt},  // not UTF-8 (each kind of invalid sequence: the decoder's table)
  };
  for (const auto& c : CASES) {
    EXPECT_EQ(Utf8ToCp932WithReferences(c.utf8), c.expected) << c.utf8;
  }
}

// Code page 932 text into a UTF-8 page, cut at every byte: what it does not define is U+FFFD.
TEST(Cp932ToUtf8Stream, WritesUtf8AndAReplacementCharacterForWhatIsNotDefined) {
  const struct {
    std::string_view text;
    std::string_view utf8;
  } CASES[] = {
      {"a\x82\xA0\x83\x5C\xB1", "a\xE3\x81\x82\xE3\x82\xBD\xEF\xBD\xB1"},  // あソｱ
      {"\x85\x40x", "\xEF\xBF\xBDx"},                // a pair not defined: one U+FFFD
      {"\x82\n\x82", "\xEF\xBF\xBD\n\xEF\xBF\xBD"},  // a lead byte before a line end, at the end
      {"\x80\xA0\xFD", "\xC2\x80\xEF\xA3\xB0\xEF\xA3\xB1"},  // single bytes Windows defines
  };
  for (const auto& c : CASES) {
    for (std::size_t cut = 0; cut <= c.text.size(); ++cut) {
      Cp932ToUtf8Stream stream;
      std::string utf8;
      stream.Write(c.text.substr(0, cut), utf8);
      stream.Write(c.text.substr(cut), utf8);
      stream.Finish(utf8);
      EXPECT_EQ(utf8, c.utf8) << "cut at " << cut;
    }
  }
}

}  // namespace
}  // namespace morvel
