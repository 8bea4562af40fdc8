#include "text/path_scan.h"

#include <gtest/gtest.h>

namespace morvel {
namespace {

// Names whose second byte looks like "\\" or "|": ソ 0x83 0x5C, 表 0x95 0x5C, 能 0x94 0x5C,
// ポ 0x83 0x7C.
constexpr std::string_view SO_TXT = "\x83\x5C\x81\x5B\x83\x58.txt";   // ソース.txt
constexpr std::string_view HYOU_HTM = "\x97\xBF\x8B\xE0\x95\x5C.htm";  // 料金表.htm

TEST(PathScan, SplitsAtSingleByteBackslashesOnly) {
  struct Case {
    std::string path;
    std::string folder, name;
  };
  const Case cases[] = {
      {"C:\\w\\memo.txt", "C:\\w", "memo.txt"},
      {"C:\\page.htm", "C:", "page.htm"},
      {"page.htm", "", "page.htm"},
      {"C:\\w\\" + std::string(SO_TXT), "C:\\w", std::string(SO_TXT)},
      {"C:\\w\\" + std::string(HYOU_HTM), "C:\\w", std::string(HYOU_HTM)},
      {"C:\\\x94\x5C\\x.htm", "C:\\\x94\x5C", "x.htm"},  // folder 能
      {"C:\\w\\", "C:\\w", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FolderPart(c.path), c.folder) << c.path;
    EXPECT_EQ(FileNamePart(c.path), c.name) << c.path;
  }
}

TEST(PathScan, FindsTheExtensionDotInTheFileNamePartOnly) {
  struct Case {
    std::string_view path;
    std::optional<std::size_t> dot;
  };
  const Case cases[] = {
      {"C:\\a\\page.txt", 9},     {"C:\\a\\a.b.txt", 8},  {"C:\\my.dir\\page", std::nullopt},
      {"C:\\a\\page.", 9},        {"page", std::nullopt}, {"\\x\\.htm", 3},
      {"C:\\a\\\x82\x2E", std::nullopt},  // a trail byte 0x2E is not a dot
  };
  for (const auto& c : cases) EXPECT_EQ(ExtensionDot(c.path), c.dot) << c.path;
}

TEST(PathScan, ComparesPathsFoldingSingleByteLettersOnly) {
  struct Case {
    std::string_view a, b;
    bool same;
  };
  const Case cases[] = {
      {"C:\\a\\x.htm", "c:\\A\\X.HTM", true},
      {"C:\\a\\x.html", "C:\\a\\x.htm", false},
      {"C:\\\x83\x41.htm", "C:\\\x83\x61.htm", false},  // ア and ヂ
      {"C:\\\x83\x41.htm", "C:\\\x83\x41.HTM", true},
      {"[", "{", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SamePathText(c.a, c.b), c.same) << c.a << " / " << c.b;
    // The folded texts (map keys for paths) agree with the comparison.
    EXPECT_EQ(FoldedPathText(c.a) == FoldedPathText(c.b), c.same) << c.a << " / " << c.b;
  }
}

TEST(PathScan, FindsReservedCharactersButNotTrailBytes) {
  struct Case {
    std::string_view name;
    bool reserved;
  };
  const Case cases[] = {
      {"a;b.htm", true},  {"a,b.htm", true}, {"a|b.htm", true},   {"a:b.htm", true},
      {"a/b.htm", true},  {"a*b.htm", true}, {"a?b.htm", true},   {"a\"b.htm", true},
      {"a<b.htm", true},  {"a>b.htm", true}, {"page.htm", false},
      {"\x83\x7C\x83\x43\x83\x93\x83\x67.htm", false},  // ポイント.htm
  };
  for (const auto& c : cases) EXPECT_EQ(HasReservedNameChar(c.name), c.reserved) << c.name;
}

TEST(PathScan, MatchesWildcardsCharacterByCharacter) {
  struct Case {
    std::string_view name, pattern;
    bool matches;
  };
  const Case cases[] = {
      {"README.TXT", "readme.txt", true}, {"a.txt", "*.txt", true},   {"a.txt", "*.TXT", true},
      {"a.htm", "*.txt", false},          {"ab.txt", "?.txt", false}, {"a.txt", "?.txt", true},
      {"\x83\x5C.txt", "?.txt", true},    {"\x83\x5C.txt", "*", true}, {"abc", "a*c", true},
      {"abc", "a*d", false},              {"\x83\x41", "\x83\x61", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MatchesFileNamePattern(c.name, c.pattern), c.matches) << c.name << " ~ " << c.pattern;
  }
}

}  // namespace
}  // namespace morvel
