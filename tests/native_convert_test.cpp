// ConvertFile against the real file system of the build's platform (POSIX natively, Win32
// under Wine), with scripted answers to the message boxes.
#include <gtest/gtest.h>

#include "engine/morvel.h"
#include "platform/native_platform.h"
#include "tests/support/fake_platform.h"
#include "tests/support/plain_options.h"
#include "tests/support/temp_folder.h"

namespace morvel {
namespace {

using testing::ANSWER_CANCEL;
using testing::ANSWER_OK;
using testing::ASK;
using testing::INFORM;
using testing::PlainOptions;
using testing::ShownMessage;
using testing::WARN;

const ShownMessage SAME{"パスが同一であるため、処理できません。", "同一のパス", WARN};
const ShownMessage OVERWRITE{"このファイルはすでに存在しています。\n上書きしてもよろしいですか？",
                             "上書き", ASK};
const ShownMessage TARGET_UNOPENABLE{"作成するファイルが開くことができません。", "オープンエラー",
                                     WARN};
const ShownMessage UNOPENABLE{"変換するファイルが開くことができません。", "オープンエラー", WARN};

const ShownMessage EMPTY{"ファイル名を入れてください。", "MORVEL", WARN};
const ShownMessage MISSING{"変換するファイルが存在しません", "変換ファイルのパス入力エラー", WARN};
const ShownMessage NO_FOLDER{"作成するファイルのディレクトリ(フォルダ)が存在しません",
                             "オープンエラー", ASK};
const ShownMessage FIX_EXTENSION{
    "出力先ファイルの拡張子がhtmではありません\n拡張子をhtmにして出力しますよろしいですか？",
    "拡張子エラー", ASK};
const ShownMessage RESERVED{"ファイル名に \\ / : , ; * ? \" < > | の記号は使えません。", "名前",
                            WARN};

ShownMessage Completed(const std::string& target) {
  return {target + "が作成できました。", "完了", INFORM};
}

const std::string PAGE_OF_HELLO =
    "<!--MORVEL1.3-->\r\n<HTML><HEAD><TITLE>T</TITLE></HEAD>\r\n"
    "<BODY bgcolor=\"FFFFFF\" text=\"000000\">\r\nhello\r\n\r\n</BODY>\r\n</HTML>";

class NativeConvertTest : public ::testing::Test {
 protected:
  // Converts `source` into `target` and sets both to the paths the request ended with.
  ConversionOutcome Convert(std::string& source, std::string& target) {
    Platform platform{*files, user, clock};
    ConversionRequest request = testing::RequestFor(source, target);
    const ConversionOutcome outcome = ConvertFile(request, platform);
    source = std::move(request.sourcePath);
    target = std::move(request.targetPath);
    return outcome;
  }

  testing::TempFolder folder;
  std::unique_ptr<FileSystem> files = MakeNativeFileSystem();
  testing::ScriptedUser user;
  testing::FixedClock clock;
};

TEST_F(NativeConvertTest, WritesThePageWithCrLfLineEnds) {
  folder.WriteFile("memo.txt", "hello\n");
  std::string source = folder.Path("memo.txt"), target = folder.Path("memo.htm");
  EXPECT_EQ(Convert(source, target), ConversionOutcome::Written);
  EXPECT_EQ(folder.ReadFile("memo.htm"), PAGE_OF_HELLO);
  EXPECT_EQ(user.shown, std::vector{Completed(target)});
}

// Every check's message with real files: what the user sees, in order, and what is on disk
// afterwards.
TEST_F(NativeConvertTest, EachCheckShowsItsMessageAndWritesNothingWhenItRefuses) {
  struct Case {
    std::string name;
    std::string source;  // names inside the folder; "" for an empty path
    std::string target;
    std::vector<bool> answers;
    ConversionOutcome outcome;
    std::vector<ShownMessage> shown;  // the completion message is added for written pages
    std::string writtenAs;            // the page's name when written
  };
  const std::vector<Case> cases = {
      {"empty source", "", "page.htm", {}, ConversionOutcome::Refused, {EMPTY}, ""},
      {"empty target", "memo.txt", "", {}, ConversionOutcome::Refused, {EMPTY}, ""},
      {"missing source", "none.txt", "page.htm", {}, ConversionOutcome::Refused, {MISSING}, ""},
      {"missing target folder",
       "memo.txt",
       "nowhere\\page.htm",
       {ANSWER_OK},
       ConversionOutcome::Refused,
       {NO_FOLDER},
       ""},
      {"extension cancelled",
       "memo.txt",
       "page.txt",
       {ANSWER_CANCEL},
       ConversionOutcome::Refused,
       {FIX_EXTENSION},
       ""},
      {"extension fixed",
       "memo.txt",
       "page.txt",
       {ANSWER_OK},
       ConversionOutcome::Written,
       {FIX_EXTENSION},
       "page.htm"},
      {"reserved character", "memo.txt", "a;b.htm", {}, ConversionOutcome::Refused, {RESERVED}, ""},
      {"overwrite cancelled",
       "memo.txt",
       "old.htm",
       {ANSWER_CANCEL},
       ConversionOutcome::Refused,
       {OVERWRITE},
       ""},
      {"overwrite accepted",
       "memo.txt",
       "old.htm",
       {ANSWER_OK},
       ConversionOutcome::Written,
       {OVERWRITE},
       "old.htm"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    testing::TempFolder here;
    here.WriteFile("memo.txt", "hello\r\n");
    here.WriteFile("old.htm", "mine");
    testing::ScriptedUser answers;
    for (const bool answer : c.answers) answers.Answer(answer);
    Platform platform{*files, answers, clock};
    ConversionRequest request = testing::RequestFor(c.source.empty() ? "" : here.Path(c.source),
                                                    c.target.empty() ? "" : here.Path(c.target));
    EXPECT_EQ(ConvertFile(request, platform), c.outcome);
    std::vector<ShownMessage> expected = c.shown;
    std::vector<std::string> listed = {"memo.txt", "old.htm"};
    if (!c.writtenAs.empty()) {
      expected.push_back(Completed(here.Path(c.writtenAs)));
      EXPECT_EQ(here.ReadFile(c.writtenAs), PAGE_OF_HELLO);
      if (c.writtenAs != "old.htm") listed.push_back(c.writtenAs);
    } else {
      EXPECT_EQ(here.ReadFile("old.htm"), "mine");
    }
    EXPECT_EQ(answers.shown, expected);
    EXPECT_EQ(here.List(), listed);
  }
}

// A name code page 932 cannot spell exactly ("a¥b.doc", "x¥.doc") is never matched.
TEST_F(NativeConvertTest, LooksTheSourceUpByWildcardAndStoredCase) {
  folder.WriteFile("README.TXT", "hello\r\n");
  folder.WriteFile("a_b.doc", "hello\r\n");
  folder.WriteFileNamedInUtf8(std::string("a\xC2\xA5") + "b.doc");
  folder.WriteFileNamedInUtf8("x\xC2\xA5.doc");
  struct Case {
    std::string typed, stored;  // stored: "" when nothing matches
    std::string storedWhereCaseCounts = stored;
  };
  // Windows folds the case of names; Linux tells "a" from "A".
  const Case cases[] = {{"readme.txt", "README.TXT", ""}, {"*.TXT", "README.TXT"},
                        {"R?ADME.*", "README.TXT"},       {"a*.doc", "a_b.doc"},
                        {"A?B.DOC", "a_b.doc", ""},       {"x*.doc", ""}};
  for (auto c : cases) {
    if (!files->FoldsNameCase()) c.stored = c.storedWhereCaseCounts;
    std::string source = folder.Path(c.typed), target = folder.Path("out.htm");
    user.shown.clear();
    user.Answer(ANSWER_OK);  // the overwrite question from the second case on
    EXPECT_EQ(Convert(source, target),
              c.stored.empty() ? ConversionOutcome::Refused : ConversionOutcome::Written)
        << c.typed;
    if (c.stored.empty()) {
      EXPECT_EQ(user.shown, std::vector{MISSING});
    } else {
      EXPECT_EQ(source, folder.Path(c.stored));
    }
  }
}

TEST_F(NativeConvertTest, ConvertsFilesNamedWithTrailBytesThatLookLikeSeparators) {
  const std::string stems[] = {
      "\x83\x5C\x81\x5B\x83\x58",          // ソース
      "\x97\xBF\x8B\xE0\x95\x5C",          // 料金表
      "\x8B\x40\x94\x5C",                  // 機能
      "\x83\x7C\x83\x43\x83\x93\x83\x67",  // ポイント
  };
  for (const auto& stem : stems) {
    folder.WriteFile(stem + ".txt", "hello\r\n");
    std::string source = folder.Path(stem + ".txt"), target = folder.Path(stem + ".htm");
    user.shown.clear();
    EXPECT_EQ(Convert(source, target), ConversionOutcome::Written);
    EXPECT_EQ(user.shown, std::vector{Completed(target)});
    EXPECT_EQ(folder.ReadFile(stem + ".htm"), PAGE_OF_HELLO);
  }
}

TEST_F(NativeConvertTest, RefusesAnotherSpellingOfTheInputAndKeepsItIntact) {
  folder.WriteFile("memo.htm", "precious\r\n");
  std::string source = folder.Path("memo.htm");
  std::string target = folder.Path(".\\memo.htm");
  user.Answer(ANSWER_OK);  // would agree to overwrite, were it asked
  EXPECT_EQ(Convert(source, target), ConversionOutcome::Refused);
  EXPECT_EQ(user.shown, std::vector{SAME});
  EXPECT_EQ(folder.ReadFile("memo.htm"), "precious\r\n");
}

TEST_F(NativeConvertTest, ReportsATargetFolderConfirmedForOverwriting) {
  folder.WriteFile("memo.txt", "hello\r\n");
  folder.MakeFolder("page.htm");
  std::string source = folder.Path("memo.txt"), target = folder.Path("page.htm");
  EXPECT_EQ(Convert(source, target), ConversionOutcome::Failed);
  EXPECT_EQ(user.shown, (std::vector{OVERWRITE, TARGET_UNOPENABLE}));
}

TEST_F(NativeConvertTest, ReportsASourceThatIsAFolder) {
  folder.MakeFolder("dir.txt");
  std::string source = folder.Path("dir.txt"), target = folder.Path("page.htm");
  EXPECT_EQ(Convert(source, target), ConversionOutcome::Refused);
  EXPECT_EQ(user.shown, std::vector{UNOPENABLE});
  EXPECT_EQ(folder.List(), std::vector<std::string>{"dir.txt"});
}

TEST_F(NativeConvertTest, CopiesOnlyWhenTheDestinationIsAbsent) {
  folder.WriteFile("a.png", "picture");
  folder.WriteFile("b.png", "other");
  EXPECT_EQ(files->CopyIfAbsent(folder.Path("a.png"), folder.Path("b.png")),
            CopyOutcome::DestinationExists);
  EXPECT_EQ(folder.ReadFile("b.png"), "other");
  EXPECT_EQ(files->CopyIfAbsent(folder.Path("a.png"), folder.Path("c.png")), CopyOutcome::Copied);
  EXPECT_EQ(folder.ReadFile("c.png"), "picture");
  EXPECT_EQ(files->CopyIfAbsent(folder.Path("missing.png"), folder.Path("d.png")),
            CopyOutcome::Failed);
  EXPECT_FALSE(folder.ReadFile("d.png"));
}

TEST_F(NativeConvertTest, CopiesAPictureBesideThePageWithoutOverwriting) {
  const std::string picture = "\x95\x5C\x8E\x86.png";  // 表紙.png
  const std::string page =
      "<!--MORVEL1.3-->\r\n<HTML><HEAD><TITLE>T</TITLE></HEAD>\r\n"
      "<BODY bgcolor=\"FFFFFF\" text=\"000000\">\r\n<BR>\r\n<CENTER><IMG src=\"" +
      picture + "\" border=\"0\"></CENTER>\r\n</BODY>\r\n</HTML>";
  folder.MakeFolder("pics");
  folder.MakeFolder("web");
  folder.MakeFolder("old");
  folder.WriteFile("pics\\" + picture, "PNG");
  folder.WriteFile("old\\" + picture, "OLD");
  struct Case {
    std::string targetFolder, pictureAfter;
  };
  const Case cases[] = {{"web", "PNG"}, {"old", "OLD"}, {"pics", "PNG"}};
  for (const auto& c : cases) {
    std::string source = folder.Path("pics\\" + picture);
    std::string target = folder.Path(c.targetFolder + "\\page.htm");
    EXPECT_EQ(Convert(source, target), ConversionOutcome::Written) << c.targetFolder;
    EXPECT_EQ(folder.ReadFile(c.targetFolder + "\\page.htm"), page);
    EXPECT_EQ(folder.ReadFile(c.targetFolder + "\\" + picture), c.pictureAfter);
  }
}

// A regular file can be read again while its version stands: any change to it gives another
// version. A scratch gives back what was kept in it, from any offset.
TEST_F(NativeConvertTest, ReadsAgainOnlyAnUnchangedFileAndKeepsWhatAScratchIsGiven) {
  folder.WriteFile("a.txt", "first");
  const auto first = files->OpenForReading(folder.Path("a.txt"))->Version();
  ASSERT_TRUE(first);
  EXPECT_EQ(files->OpenForReading(folder.Path("a.txt"))->Version(), first);
  folder.WriteFile("a.txt", "first, and more");
  EXPECT_NE(files->OpenForReading(folder.Path("a.txt"))->Version(), first);
#ifndef _WIN32
  EXPECT_FALSE(files->OpenForReading("\\dev\\null")->Version());
#endif

  const auto scratch = files->OpenScratch();
  ASSERT_TRUE(scratch);
  const std::string kept(100'000, 'k');
  ASSERT_TRUE(scratch->Append(kept) && scratch->Append("end"));
  std::string read(10, '\0');
  EXPECT_EQ(scratch->ReadAt(kept.size() - 2, read.data(), read.size()), 5u);
  EXPECT_EQ(read.substr(0, 5), "kkend");
  EXPECT_EQ(scratch->ReadAt(kept.size() + 3, read.data(), read.size()), 0u);
}

}  // namespace
}  // namespace morvel
