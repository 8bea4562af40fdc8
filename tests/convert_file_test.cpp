// ConvertFile against the in-memory platform: the checks in their order, every message with
// its text, caption and style, the path rewrites, and the faults the engine guards against.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "engine/morvel.h"
#include "tests/oracle/utf8_page.h"
#include "tests/support/fake_platform.h"
#include "tests/support/plain_options.h"
#include "tests/support/written_page.h"

namespace morvel {
namespace {

using testing::ANSWER_CANCEL;
using testing::ANSWER_OK;
using testing::ASK;
using testing::FakePlatform;
using testing::INFORM;
using testing::PlainOptions;
using testing::RequestFor;
using testing::ShownMessage;
using testing::WARN;
using namespace std::string_literals;

const ShownMessage EMPTY{"ファイル名を入れてください。", "MORVEL", WARN};
const ShownMessage MISSING{"変換するファイルが存在しません", "変換ファイルのパス入力エラー", WARN};
const ShownMessage UNOPENABLE{"変換するファイルが開くことができません。", "オープンエラー", WARN};
const ShownMessage NO_FOLDER{"作成するファイルのディレクトリ(フォルダ)が存在しません",
                             "オープンエラー", ASK};
const ShownMessage FIX_EXTENSION{
    "出力先ファイルの拡張子がhtmではありません\n拡張子をhtmにして出力しますよろしいですか？",
    "拡張子エラー", ASK};
const ShownMessage SAME{"パスが同一であるため、処理できません。", "同一のパス", WARN};
const ShownMessage RESERVED{"ファイル名に \\ / : , ; * ? \" < > | の記号は使えません。", "名前",
                            WARN};
const ShownMessage OVERWRITE{"このファイルはすでに存在しています。\n上書きしてもよろしいですか？",
                             "上書き", ASK};
const ShownMessage TARGET_UNOPENABLE{"作成するファイルが開くことができません。", "オープンエラー",
                                     WARN};
const ShownMessage WRITE_FAILED{"ファイルの書き込みに失敗しました。", "MORVEL", WARN};
const ShownMessage READ_FAILED{"ファイルの読み込みに失敗しました。", "MORVEL", WARN};
const ShownMessage OUT_OF_MEMORY{"メモリが足りないため、ページを作成できませんでした。", "MORVEL",
                                 WARN};

ShownMessage Completed(const std::string& target) {
  return {target + "が作成できました。", "完了", INFORM};
}

const std::string PLAIN_HEAD =
    "<!--MORVEL1.3-->\r\n<HTML><HEAD><TITLE>T</TITLE></HEAD>\r\n"
    "<BODY bgcolor=\"FFFFFF\" text=\"000000\">\r\n";
const std::string FOOTER = "\r\n</BODY>\r\n</HTML>";

class ConvertFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake.files.AddFolder("C:\\in");
    fake.files.AddFolder("C:\\out");
    fake.files.AddFile("C:\\in\\memo.txt", "hello\r\n");
  }

  ConversionOutcome Convert(ConversionRequest& request) {
    return ConvertFile(request, fake.platform);
  }
  ConversionOutcome Convert(std::string source, std::string target) {
    ConversionRequest request = RequestFor(std::move(source), std::move(target));
    return Convert(request);
  }
  bool WroteAnything() const {
    for (const auto& open : fake.files.opened) {
      if (open.starts_with("w:")) return true;
    }
    return false;
  }

  FakePlatform fake;
};

TEST_F(ConvertFileTest, MessagesAreCodePage932Bytes) {
  EXPECT_EQ(WindowMessage(Completion{}).caption, "\x8A\xAE\x97\xB9");  // 完了
  EXPECT_EQ(WindowMessage(Report{Problem::ReservedCharacter}).text.substr(0, 8),
            "\x83\x74\x83\x40\x83\x43\x83\x8B");  // ファイル
}

TEST_F(ConvertFileTest, EachRefusingCheckShowsItsMessageAndWritesNothing) {
  struct Case {
    const char* name;
    std::string source, target;
    std::vector<bool> answers;
    std::vector<ShownMessage> expected;
  };
  const Case cases[] = {
      {"both empty", "", "", {}, {EMPTY}},
      {"source empty", "", "C:\\out\\a.htm", {}, {EMPTY}},
      {"target empty", "C:\\in\\memo.txt", "", {}, {EMPTY}},
      {"source missing", "C:\\in\\none.txt", "C:\\out\\a.htm", {}, {MISSING}},
      {"source without folder", "memo.txt", "C:\\out\\a.htm", {}, {MISSING}},
      {"source is a folder", "C:\\in", "C:\\out\\a.htm", {}, {UNOPENABLE}},
      {"target folder missing, OK",
       "C:\\in\\memo.txt",
       "C:\\missing\\a.htm",
       {ANSWER_OK},
       {NO_FOLDER}},
      {"target folder missing, Cancel",
       "C:\\in\\memo.txt",
       "C:\\missing\\a.htm",
       {ANSWER_CANCEL},
       {NO_FOLDER}},
      {"target without folder", "C:\\in\\memo.txt", "a.htm", {}, {NO_FOLDER}},
      {"extension refused",
       "C:\\in\\memo.txt",
       "C:\\out\\page.txt",
       {ANSWER_CANCEL},
       {FIX_EXTENSION}},
      {"same path in another case", "C:\\in\\memo.htm", "c:\\IN\\MEMO.HTM", {}, {SAME}},
      {"semicolon", "C:\\in\\memo.txt", "C:\\out\\a;b.htm", {}, {RESERVED}},
      {"comma", "C:\\in\\memo.txt", "C:\\out\\a,b.htm", {}, {RESERVED}},
      {"bar", "C:\\in\\memo.txt", "C:\\out\\a|b.htm", {}, {RESERVED}},
      {"overwrite refused", "C:\\in\\memo.txt", "C:\\out\\old.htm", {ANSWER_CANCEL}, {OVERWRITE}},
  };
  for (const auto& c : cases) {
    FakePlatform local;
    local.files.AddFolder("C:\\in");
    local.files.AddFolder("C:\\out");
    local.files.AddFile("C:\\in\\memo.txt", "x");
    local.files.AddFile("C:\\in\\memo.htm", "x");
    local.files.AddFile("C:\\out\\old.htm", "keep");
    for (const bool answer : c.answers) local.user.Answer(answer);
    ConversionRequest request = RequestFor(c.source, c.target);
    const auto outcome = ConvertFile(request, local.platform);
    EXPECT_EQ(outcome, ConversionOutcome::Refused) << c.name;
    EXPECT_EQ(local.user.shown, c.expected) << c.name;
    for (const auto& open : local.files.opened) EXPECT_FALSE(open.starts_with("w:")) << c.name;
    EXPECT_EQ(local.files.Contents("C:\\out\\old.htm"), "keep") << c.name;
  }
}

TEST_F(ConvertFileTest, WritesTheFramedPageAndReportsCompletion) {
  EXPECT_EQ(Convert("C:\\in\\memo.txt", "C:\\out\\memo.htm"), ConversionOutcome::Written);
  EXPECT_EQ(fake.files.Contents("C:\\out\\memo.htm"), PLAIN_HEAD + "hello\r\n" + FOOTER);
  EXPECT_EQ(fake.user.shown, std::vector{Completed("C:\\out\\memo.htm")});
}

TEST_F(ConvertFileTest, WritesTheTitleAndColoursUnescaped) {
  ConversionRequest request = RequestFor("C:\\in\\memo.txt", "C:\\out\\m.htm");
  request.options.bgColour = {0x123456};
  request.options.textColour = {0xABCDEF};
  request.title = "a<b&\"c\"";
  ConvertFile(request, fake.platform);
  EXPECT_EQ(fake.files.Contents(request.targetPath),
            "<!--MORVEL1.3-->\r\n<HTML><HEAD><TITLE>a<b&\"c\"</TITLE></HEAD>\r\n"
            "<BODY bgcolor=\"123456\" text=\"ABCDEF\">\r\nhello\r\n" +
                FOOTER);
}

TEST_F(ConvertFileTest, CopiesLineEndsWithLfAsCrLfAndEndsAtTheFirstCtrlZ) {
  struct Case {
    std::string input, body;
  };
  const Case cases[] = {
      {"", ""},
      {"a\r\nb", "a\r\nb"},
      {"a\nb\n", "a\r\nb\r\n"},
      {"a\rb\r\n", "a\rb\r\n"},
      {"a\r", "a\r"},
      {"a\r\r\n", "a\r\r\n"},
      {"before\x1A"
       "after\r\n",
       "before"},
      {"\x1A", ""},
      {"100%s%d\r\n", "100%s%d\r\n"},
      {std::string("nul\0byte\r\n", 10), std::string("nul\0byte\r\n", 10)},
  };
  for (const auto& c : cases) {
    FakePlatform local;
    local.files.AddFolder("C:\\d");
    local.files.AddFile("C:\\d\\in.txt", c.input);
    ConversionRequest request = RequestFor("C:\\d\\in.txt", "C:\\d\\out.htm");
    ConvertFile(request, local.platform);
    EXPECT_EQ(local.files.Contents(request.targetPath), PLAIN_HEAD + c.body + FOOTER) << c.input;
  }
}

TEST_F(ConvertFileTest, ReadsALongLineWhole) {
  // Double-byte characters stay whole however long the line.
  std::string line;
  while (line.size() < 10000) line += "\x95\x5C";  // 表
  fake.files.AddFile("C:\\in\\long.txt", line + "\r\n");
  ConversionRequest request = RequestFor("C:\\in\\long.txt", "C:\\out\\long.htm");
  Convert(request);
  EXPECT_EQ(fake.files.Contents("C:\\out\\long.htm"), PLAIN_HEAD + line + "\r\n" + FOOTER);
}

TEST_F(ConvertFileTest, ResolvesTheSourceToTheStoredName) {
  fake.files.AddFile("C:\\in\\README.TXT", "r");
  struct Case {
    std::string typed, resolved;
  };
  const Case cases[] = {
      {"c:\\in\\readme.txt", "c:\\in\\README.TXT"},
      {"C:\\in\\*.TXT", "C:\\in\\README.TXT"},
      {"C:\\in\\m?mo.*", "C:\\in\\memo.txt"},
  };
  for (const auto& c : cases) {
    ConversionRequest request = RequestFor(c.typed, "C:\\out\\r.htm");
    fake.user.Answer(ANSWER_OK);  // overwrite after the first case
    Convert(request);
    EXPECT_EQ(request.sourcePath, c.resolved);
  }
}

TEST_F(ConvertFileTest, FixesTheTargetExtensionWhenTheUserAgrees) {
  struct Case {
    std::string target, fixed;
    bool asks;
  };
  const Case cases[] = {
      {"C:\\out\\page", "C:\\out\\page.htm", true},
      {"C:\\out\\page.TXT", "C:\\out\\page.htm", true},
      {"C:\\out\\page.", "C:\\out\\page.htm", true},
      {"C:\\out\\a.b.txt", "C:\\out\\a.b.htm", true},
      {"C:\\out\\page.ht", "C:\\out\\page.htm", true},
      {"C:\\out\\my.dir\\page", "C:\\out\\my.dir\\page.htm", true},
      {"C:\\out\\page.HTML", "C:\\out\\page.HTML", false},
      {"C:\\out\\page.htmx", "C:\\out\\page.htmx", false},
      {"C:\\out\\page.Htm", "C:\\out\\page.Htm", false},
  };
  for (const auto& c : cases) {
    FakePlatform local;
    local.files.AddFolder("C:\\out");
    local.files.AddFolder("C:\\out\\my.dir");
    local.files.AddFile("C:\\in\\memo.txt", "x");
    ConversionRequest request = RequestFor("C:\\in\\memo.txt", c.target);
    EXPECT_EQ(ConvertFile(request, local.platform), ConversionOutcome::Written) << c.target;
    EXPECT_EQ(request.targetPath, c.fixed);
    if (c.asks) {
      EXPECT_EQ(local.user.shown, (std::vector{FIX_EXTENSION, Completed(c.fixed)}));
      EXPECT_EQ(local.user.targetPathShown, std::vector{c.fixed});
    } else {
      EXPECT_EQ(local.user.shown, std::vector{Completed(c.fixed)});
      EXPECT_TRUE(local.user.targetPathShown.empty());
    }
  }
}

TEST_F(ConvertFileTest, KeepsTheCorrectedTargetShownWhenALaterCheckRefuses) {
  fake.files.AddFile("C:\\out\\page.htm", "keep");
  fake.user.Answer(ANSWER_OK);
  fake.user.Answer(ANSWER_CANCEL);
  ConversionRequest request = RequestFor("C:\\in\\memo.txt", "C:\\out\\page");
  EXPECT_EQ(Convert(request), ConversionOutcome::Refused);
  EXPECT_EQ(fake.user.shown, (std::vector{FIX_EXTENSION, OVERWRITE}));
  EXPECT_EQ(fake.user.targetPathShown, std::vector<std::string>{"C:\\out\\page.htm"});
  EXPECT_EQ(fake.files.Contents("C:\\out\\page.htm"), "keep");
}

TEST_F(ConvertFileTest, OverwritesOnlyAfterOk) {
  fake.files.AddFile("C:\\out\\old.htm", "keep");
  fake.user.Answer(ANSWER_OK);
  EXPECT_EQ(Convert("C:\\in\\memo.txt", "C:\\out\\old.htm"), ConversionOutcome::Written);
  EXPECT_EQ(fake.user.shown, (std::vector{OVERWRITE, Completed("C:\\out\\old.htm")}));
  EXPECT_EQ(fake.files.Contents("C:\\out\\old.htm"), PLAIN_HEAD + "hello\r\n" + FOOTER);
}

// A question answered before the request starts is not asked; the other one still is.
TEST_F(ConvertFileTest, PresetAnswersStandForTheirQuestions) {
  fake.files.AddFile("C:\\out\\old.htm", "old");
  struct Case {
    PresetAnswers answers;
    std::vector<ShownMessage> shown;  // before the completion message
  };
  const Case cases[] = {
      {{.fixExtension = true, .overwrite = true}, {}},
      {{.fixExtension = true, .overwrite = false}, {OVERWRITE}},
      {{.fixExtension = false, .overwrite = true}, {FIX_EXTENSION}},
  };
  for (const auto& c : cases) {
    fake.user.shown.clear();
    fake.user.targetPathShown.clear();
    ConversionRequest request = RequestFor("C:\\in\\memo.txt", "C:\\out\\old.txt");
    request.answers = c.answers;
    EXPECT_EQ(Convert(request), ConversionOutcome::Written);
    std::vector<ShownMessage> expected = c.shown;
    expected.push_back(Completed("C:\\out\\old.htm"));
    EXPECT_EQ(fake.user.shown, expected);
    EXPECT_EQ(fake.user.targetPathShown, std::vector<std::string>{"C:\\out\\old.htm"});
  }
}

TEST_F(ConvertFileTest, AcceptsReservedCharactersInTheFolderPart) {
  fake.files.AddFolder("C:\\a;b");
  EXPECT_EQ(Convert("C:\\in\\memo.txt", "C:\\a;b\\x.htm"), ConversionOutcome::Written);
}

TEST_F(ConvertFileTest, RefusesAnotherSpellingOfTheInputAndLeavesItIntact) {
  fake.files.AddFile("C:\\w\\memo.htm", "precious\r\n");
  fake.files.AddFolder("C:\\w");
  fake.files.AddFolder("C:\\w\\.");
  fake.files.AddAlias("C:\\w\\.\\memo.htm", "C:\\w\\memo.htm");
  fake.files.AddAlias("C:\\w\\MEMO~1.HTM", "C:\\w\\memo.htm");
  for (const char* target : {"C:\\w\\.\\memo.htm", "C:\\w\\MEMO~1.HTM"}) {
    fake.user.shown.clear();
    fake.user.Answer(ANSWER_OK);  // an overwrite question, if one came, would be agreed to
    EXPECT_EQ(Convert("C:\\w\\memo.htm", target), ConversionOutcome::Refused) << target;
    EXPECT_EQ(fake.user.shown, std::vector{SAME}) << target;
    EXPECT_EQ(fake.files.Contents("C:\\w\\memo.htm"), "precious\r\n");
  }
  EXPECT_FALSE(WroteAnything());
}

TEST_F(ConvertFileTest, HandlesDoubleByteNamesWhoseTrailByteLooksLikeASeparator) {
  const std::string names[] = {
      "\x83\x5C\x81\x5B\x83\x58.txt",          // ソース.txt
      "\x97\xBF\x8B\xE0\x95\x5C.htm",          // 料金表.htm
      "\x8B\x40\x94\x5C.htm",                  // 機能.htm
      "\x83\x7C\x83\x43\x83\x93\x83\x67.htm",  // ポイント.htm
  };
  for (const auto& name : names) {
    fake.user.shown.clear();
    fake.files.AddFile("C:\\in\\" + name, "x");
    const std::string target = "C:\\out\\" + name.substr(0, name.size() - 4) + ".htm";
    ConversionRequest request = RequestFor("C:\\in\\" + name, target);
    EXPECT_EQ(Convert(request), ConversionOutcome::Written);
    EXPECT_EQ(request.sourcePath, "C:\\in\\" + name);
    EXPECT_EQ(fake.user.shown, std::vector{Completed(target)});
    EXPECT_NE(fake.files.Find(target), nullptr);
  }
}

TEST_F(ConvertFileTest, TellsApartNamesThatDifferOnlyInATrailByte) {
  fake.files.AddFile("C:\\in\\\x83\x41.htm", "x");                    // ア.htm
  EXPECT_EQ(Convert("C:\\in\\\x83\x41.htm", "C:\\in\\\x83\x61.htm"),  // ヂ.htm
            ConversionOutcome::Written);
}

TEST_F(ConvertFileTest, ReportsATargetThatCannotBeOpened) {
  fake.files.AddFile("C:\\out\\locked.htm", "keep").writable = false;
  fake.files.AddFolder("C:\\out\\dir.htm");
  for (const char* target : {"C:\\out\\locked.htm", "C:\\out\\dir.htm"}) {
    fake.user.shown.clear();
    EXPECT_EQ(Convert("C:\\in\\memo.txt", target), ConversionOutcome::Failed);
    EXPECT_EQ(fake.user.shown, (std::vector{OVERWRITE, TARGET_UNOPENABLE}));
  }
  EXPECT_EQ(fake.files.Contents("C:\\out\\locked.htm"), "keep");
}

// Every failure is reported instead of success, and a page the user agreed to replace stays
// as it was, with nothing left beside it.
TEST_F(ConvertFileTest, ReportsFailuresAndKeepsTheOldPage) {
  std::string big;
  for (int i = 0; i < 20000; ++i) big += "line of text\r\n";
  auto& input = fake.files.AddFile("C:\\in\\big.txt", big);
  struct Case {
    const char* name;
    std::size_t failWriteAfter;
    bool failClose;
    std::optional<std::size_t> failReadAfter;
    std::optional<std::size_t> outOfMemoryAfter;
    ShownMessage expected;
  };
  const Case cases[] = {
      {"write fails at once", 0, false, std::nullopt, std::nullopt, WRITE_FAILED},
      {"write fails in the first block", 10, false, std::nullopt, std::nullopt, WRITE_FAILED},
      {"write fails midway", 100000, false, std::nullopt, std::nullopt, WRITE_FAILED},
      {"write fails at the footer", big.size() + PLAIN_HEAD.size() + 5, false, std::nullopt,
       std::nullopt, WRITE_FAILED},
      {"close fails", SIZE_MAX, true, std::nullopt, std::nullopt, WRITE_FAILED},
      {"read fails midway", SIZE_MAX, false, 1000, std::nullopt, READ_FAILED},
      {"memory runs out midway", SIZE_MAX, false, std::nullopt, 1000, OUT_OF_MEMORY},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fake.user.shown.clear();
    const std::string target = "C:\\out\\f" + std::to_string(n++) + ".htm";
    fake.files.AddFile(target, "old page");
    fake.files.FailWritesTo(target, c.failWriteAfter, c.failClose);
    input.failReadAfter = c.failReadAfter;
    input.outOfMemoryAfter = c.outOfMemoryAfter;
    EXPECT_EQ(Convert("C:\\in\\big.txt", target), ConversionOutcome::Failed);
    EXPECT_EQ(fake.user.shown, (std::vector{OVERWRITE, c.expected}));
    EXPECT_EQ(fake.files.Contents(target), "old page");
    EXPECT_EQ(fake.files.PendingWrites(), 0);
  }
}

TEST_F(ConvertFileTest, BuildsTheCompletionTextForAnyTargetLength) {
  std::string folder = "C:";
  while (folder.size() < 300) folder += "\\" + std::string(40, 'f');
  fake.files.AddFolder(folder);
  const std::string target = folder + "\\page.htm";
  ConversionRequest request = RequestFor("C:\\in\\memo.txt", target);
  EXPECT_EQ(Convert(request), ConversionOutcome::Written);
  EXPECT_EQ(request.targetPath, target);
  EXPECT_EQ(fake.user.shown, std::vector{Completed(target)});
}

// ---------------------------------------------------------------------------------------------
// The text's encoding and the page's

std::string U8(std::u8string_view text) { return {text.begin(), text.end()}; }

std::string Lines(std::string_view line, std::size_t count) {
  std::string text;
  while (count-- > 0) text += line;
  return text;
}

const std::string UTF8_HEAD =
    "<!--MORVEL1.3-->\r\n<HTML><HEAD><META charset=\"UTF-8\"><META name=\"viewport\" "
    "content=\"width=device-width, initial-scale=1\"><TITLE>T</TITLE></HEAD>\r\n"
    "<BODY bgcolor=\"FFFFFF\" text=\"000000\">\r\n";

// A UTF-8 page of a text with kana names its language.
const std::string UTF8_HEAD_JA =
    "<!--MORVEL1.3-->\r\n<HTML lang=\"ja\"><HEAD><META charset=\"UTF-8\"><META name=\"viewport\" "
    "content=\"width=device-width, initial-scale=1\"><TITLE>T</TITLE></HEAD>\r\n"
    "<BODY bgcolor=\"FFFFFF\" text=\"000000\">\r\n";

struct EncodingCase {
  const char* name;
  std::string text;
  std::string page{};  // the body between head and footer; the head says which page
  bool utf8Page = false;
  std::string invalid{};  // instead, a read failure: its message's second line
  int reads = 1;          // the times the file is read (a later byte can overturn the choice)
  TextEncodingChoice textEncoding = TextEncodingChoice::Auto;
  PageEncodingChoice pageEncoding = PageEncodingChoice::Auto;
  enum Source { File, StandardInput, Pipe, PipeToStream, ChangingFile } source = File;
};

TEST_F(ConvertFileTest, FindsTheTextsEncodingAndWritesThePageItCallsFor) {
  using T = TextEncodingChoice;
  using P = PageEncodingChoice;
  const std::string ascii(70000, 'a');  // past the first 64 KiB
  const std::string snow = U8(u8"雪"), snowman = U8(u8"☃");
  const std::string tab932 = "\x81\x40\x81\x40\x81\x40\x81\x40\x81\x40\x81\x40";
  const std::string tabUtf8 = U8(u8"　　　　　　");
  const EncodingCase cases[] = {
      {"ASCII is code page 932", "a\tb", "a" + tab932 + "b"},
      {"UTF-8 without a mark", snow + "\t" + snowman, snow + tabUtf8 + snowman, true},
      {"UTF-8 mark",
       "\xEF\xBB\xBF"
       "a\tb",
       "a" + tabUtf8 + "b", true},
      {"UTF-16LE mark",
       "\xFF\xFE"
       "a\0\x1A\x30\x1A\0z\0"s,
       "a" + U8(u8"〚"), true},
      {"UTF-16BE mark", "\xFE\xFF\0a\xD8\x3D\xDE\x00"s, "a" + U8(u8"😀"), true},
      {"code page 932 that starts as UTF-8", "\xC3\xA9\x82\xA0", "\xC3\xA9\x82\xA0"},
      {"UTF-8 up to a late bad byte", snow + ascii + "\xFF", snow + ascii + "\xFF", false, "", 2},
      {"ASCII, then UTF-8", ascii + snow, ascii + snow, true, "", 2},
      {"ASCII, UTF-8, then a bad byte", ascii + snow + "\xFF", ascii + snow + "\xFF", false, "", 3},
      {"UTF-8 ends at 0x1A", snow + "\x1A\xFF", snow, true},
      {"a bad byte after a UTF-8 mark",
       "\xEF\xBB\xBF"
       "a\n\xC0\x80",
       "", true, "2行目に UTF-8 として正しくないバイトがあります。"},
      {"a bad byte after a thousand lines", "\xEF\xBB\xBF" + Lines("a\n", 1000) + "\xFF", "", true,
       "1001行目に UTF-8 として正しくないバイトがあります。"},
      {"a UTF-8 mark, then a 0x1A before a bad byte", "\xEF\xBB\xBFx\x1A\xFF", "x", true},
      {"a UTF-8 mark, then a 0x1A inside a character", "\xEF\xBB\xBF\xE3\x81\x1A", "", true,
       "1行目に UTF-8 として正しくないバイトがあります。"},
      {"odd-length UTF-16",
       "\xFF\xFE"
       "a\0\n\0b"s,
       "", true, "2行目に UTF-16 として正しくないバイトがあります。"},
      {"an unpaired surrogate", "\xFE\xFF\0\n\xDC\x00"s, "", true,
       "2行目に UTF-16 として正しくないバイトがあります。"},
      {"cp932 given", snow, snow, false, "", 1, T::CodePage932},
      {"utf-8 given drops its mark", "\xEF\xBB\xBFx", "x", true, "", 1, T::Utf8},
      {"utf-16be given, no mark", "\0x"s, "x", true, "", 1, T::Utf16Be},
      {"utf-16le given over a UTF-8 mark", "\xEF\xBB\xBF", "", true,
       "1行目に UTF-16 として正しくないバイトがあります。", 1, T::Utf16Le},
      {"Unicode onto a cp932 page", snow + snowman + "\t", "\x90\xE1&#9731;" + tab932, false, "", 1,
       T::Auto, P::CodePage932},
      {"cp932 onto a UTF-8 page", "\x82\xA0\x85\x40\n\x82", U8(u8"あ\uFFFD\r\n\uFFFD"), true, "", 1,
       T::Auto, P::Utf8},
      {"standard input decides on its first 64 KiB", ascii + snow, ascii + snow, false, "", 1,
       T::Auto, P::Auto, EncodingCase::StandardInput},
      {"standard input: a later bad byte", snow + "\n" + ascii + "\n\xFF", "", true,
       "3行目に UTF-8 として正しくないバイトがあります。", 1, T::Auto, P::Auto,
       EncodingCase::StandardInput},
      {"standard input with a mark", "\xFF\xFEx\0"s, "x", true, "", 1, T::Auto, P::Auto,
       EncodingCase::StandardInput},
      {"kana in UTF-8 names Japanese", U8(u8"ひらがな"), U8(u8"ひらがな"), true},
      {"katakana late in UTF-16's first 64 KiB",
       "\xFF\xFE" + std::string(60000, '\0') + "\xA2\x30"s, std::string(30000, '\0') + U8(u8"ア"),
       true},
      {"half-width katakana in code page 932 onto a UTF-8 page", "\xB1", U8(u8"ｱ"), true, "", 1,
       T::Auto, P::Utf8},
      {"kana past the first 64 KiB names nothing", ascii + U8(u8"あ"), ascii + U8(u8"あ"), true, "",
       2},
      {"kana on a code page 932 page names nothing", "\x82\xA0", "\x82\xA0"},
      {"a pipe: ASCII, then UTF-8, from what was kept", ascii + snow, ascii + snow, true, "", 1,
       T::Auto, P::Auto, EncodingCase::Pipe},
      {"a pipe: ASCII, UTF-8, then a bad byte", ascii + snow + "\xFF", ascii + snow + "\xFF", false,
       "", 1, T::Auto, P::Auto, EncodingCase::Pipe},
      {"a pipe on a stream is classified whole", ascii + snow, ascii + snow, true, "", 1, T::Auto,
       P::Auto, EncodingCase::PipeToStream},
      {"a file that changed before it is read again", ascii + snow, "", false, "", 2, T::Auto,
       P::Auto, EncodingCase::ChangingFile},
      {"a changing file read once keeps its first bytes", snow, snow, true, "", 1, T::Auto, P::Auto,
       EncodingCase::ChangingFile},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fake.user.shown.clear();
    fake.files.opened.clear();
    const std::string source = "C:\\in\\t" + std::to_string(n) + ".txt";
    const std::string target = "C:\\out\\t" + std::to_string(n++) + ".htm";
    testing::FakeFileSystem::File& file = fake.files.AddFile(source, c.text);
    file.readOnce = c.source == EncodingCase::Pipe || c.source == EncodingCase::PipeToStream;
    if (c.source == EncodingCase::ChangingFile) file.changesTo = c.text + "more";
    fake.files.AddFile(target, "old page");
    ConversionRequest request = RequestFor(source, target);
    request.answers.overwrite = true;
    request.textEncoding = c.textEncoding;
    request.pageEncoding = c.pageEncoding;
    std::unique_ptr<ByteReader> input;
    if (c.source == EncodingCase::StandardInput) {
      request.input = (input = fake.files.OpenForReading(source)).get();
    }
    testing::StringByteWriter stream;
    if (c.source == EncodingCase::PipeToStream) request.output = &stream;
    const ConversionOutcome outcome = Convert(request);
    if (c.source == EncodingCase::PipeToStream) fake.files.AddFile(target, stream.text);
    EXPECT_EQ(fake.files.PendingWrites(), 0);
    const auto reads = std::count_if(fake.files.opened.begin(), fake.files.opened.end(),
                                     [](const std::string& o) { return o.starts_with("r:"); });
    EXPECT_EQ(reads, c.source == EncodingCase::StandardInput ? 1 : c.reads);
    if (!c.invalid.empty() || c.page.empty()) {
      const std::string failure = c.invalid.empty() ? "" : "\n" + c.invalid;
      EXPECT_EQ(outcome, ConversionOutcome::Failed);
      EXPECT_EQ(fake.user.shown,
                (std::vector{
                    ShownMessage{"ファイルの読み込みに失敗しました。" + failure, "MORVEL", WARN}}));
      EXPECT_EQ(fake.files.Contents(target), "old page");
      continue;
    }
    EXPECT_EQ(outcome, ConversionOutcome::Written);
    const std::string& head = !c.utf8Page                 ? PLAIN_HEAD
                              : oracle::HoldsKana(c.page) ? UTF8_HEAD_JA
                                                          : UTF8_HEAD;
    EXPECT_EQ(fake.files.Contents(target), head + c.page + FOOTER);
  }
}

// The example page, with the default switches and a title and update box in UTF-8.
TEST_F(ConvertFileTest, AUtf8TextGivesItsPageWithEveryCharacterAsItself) {
  fake.files.AddFile("C:\\in\\u.txt", U8(u8"雪☃ a&b\thttp://x.jp/☃y"));
  ConversionRequest request = RequestFor("C:\\in\\u.txt", "C:\\out\\u.htm", ConversionOptions{});
  request.title = U8(u8"日記☃");
  EXPECT_EQ(Convert(request), ConversionOutcome::Written);
  // (Built outside EXPECT_EQ, which would quote its characters in code page 932.)
  const std::string page =
      UTF8_HEAD.substr(0, UTF8_HEAD.find("T</TITLE>")) + U8(u8"日記☃") +
      UTF8_HEAD.substr(UTF8_HEAD.find("</TITLE>")) +
      "<TABLE border=\"1\" align=\"right\">\r\n<TR><TD>\r\n<SPAN style=\"font-size:10px\">" +
      U8(u8"更新日　2002年　3月16日　9時5分") + "</SPAN>\r\n</TD></TR>\r\n</TABLE>\r\n<BR>\r\n" +
      U8(u8"雪☃ a&amp;b　　　　　　") + "<A href=\"http://x.jp/\">http://x.jp/</A>" + U8(u8"☃y") +
      FOOTER;
  EXPECT_EQ(fake.files.Contents("C:\\out\\u.htm"), page);
}

}  // namespace
}  // namespace morvel
