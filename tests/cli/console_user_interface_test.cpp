// What the engine says, on a terminal: which stream, what text, and how the two questions that
// OK lets go on are answered.
#include "cli/console_user_interface.h"

#include <gtest/gtest.h>

#include "cli/host.h"
#include "tests/cli/fake_console.h"

namespace morvel::cli {
namespace {

using testing::FakeConsole;

std::string Host(std::string_view engineText) { return ToHostText(engineText); }

TEST(ConsoleUserInterface, MessagesGoToStandardErrorWithCaptionOnOneLine) {
  // A question that ends the request whatever the answer (the missing folder) is a message
  // too, on a terminal or not.
  for (const bool isTerminal : {false, true}) {
    FakeConsole console;
    console.isTerminal = isTerminal;
    console.typed = {"y"};
    ConsoleUserInterface user(console, false);
    user.Tell({Problem::SourceMissing});
    user.SetLabel("a.txt");
    user.Tell({Problem::InvalidUtf8, 7});
    EXPECT_FALSE(user.Ask(Question::TargetFolderMissing));
    EXPECT_TRUE(console.out.empty());
    EXPECT_TRUE(console.prompts.empty());
    EXPECT_EQ(
        console.err,
        (std::vector<std::string>{
            "morvel-convert: " +
                Host("変換ファイルのパス入力エラー: 変換するファイルが存在しません"),
            "morvel-convert: a.txt: MORVEL: " + Host("ファイルの読み込みに失敗しました。 7行目に "
                                                     "UTF-8 として正しくないバイトがあります。"),
            "morvel-convert: a.txt: " +
                Host("オープンエラー: 作成するファイルのディレクトリ(フォルダ)が存在しません")}));
  }
}

TEST(ConsoleUserInterface, CompletionGoesToStandardOutputUnlessQuiet) {
  for (const bool quiet : {false, true}) {
    FakeConsole console;
    ConsoleUserInterface user(console, quiet);
    user.TellCompleted("\\tmp\\ページ.htm");
    EXPECT_TRUE(console.err.empty());
    if (quiet) {
      EXPECT_TRUE(console.out.empty());
    } else {
      EXPECT_EQ(console.out,
                std::vector<std::string>{Host("完了: ") + DisplayPath("\\tmp\\ページ.htm") +
                                         Host("が作成できました。")});
    }
  }
}

struct QuestionCase {
  Question question;
  bool isTerminal;
  std::deque<std::string> typed;
  bool expected;
  std::string_view hint;  // expected in the Cancel line when nobody can be asked
  std::string nobodyToAsk = {};
};

// A question that --yes or --force answers never reaches the console: the engine takes the
// answer from the request.
TEST(ConsoleUserInterface, QuestionsAreAnsweredAtTheTerminalOrCancel) {
  const Question ext = Question::FixExtension;
  const Question over = Question::ReplacePage;
  constexpr bool ANSWER_OK = true, ANSWER_CANCEL = false;
  const std::vector<QuestionCase> cases = {
      // The Cancel line names the option that answers the question.
      {ext, false, {}, ANSWER_CANCEL, "(--yes answers OK)"},
      {over, false, {}, ANSWER_CANCEL, "(--force answers OK)"},
      {ext, true, {"y"}, ANSWER_OK, ""},
      {over, true, {"YES\r"}, ANSWER_OK, ""},
      {over, true, {"n"}, ANSWER_CANCEL, ""},
      {over, true, {""}, ANSWER_CANCEL, ""},
      {over, true, {"yes please"}, ANSWER_CANCEL, ""},
      {ext, true, {}, ANSWER_CANCEL, ""},  // end of input
      // Standard input that carries the text answers nothing, even from a terminal.
      {over, true, {"y"}, ANSWER_CANCEL, "the text, so the answer is Cancel", "the text"},
  };
  for (const auto& testCase : cases) {
    SCOPED_TRACE(::testing::Message()
                 << (testCase.question == ext ? "extension" : "overwrite") << " terminal "
                 << testCase.isTerminal << " typed " << ::testing::PrintToString(testCase.typed));
    FakeConsole console;
    console.isTerminal = testCase.isTerminal;
    console.typed = testCase.typed;
    ConsoleUserInterface user(console, false);
    if (!testCase.nobodyToAsk.empty()) user.SetNobodyToAsk(testCase.nobodyToAsk);
    const std::string caption = Host(testCase.question == ext ? "拡張子エラー" : "上書き");
    EXPECT_EQ(user.Ask(testCase.question), testCase.expected);

    if (testCase.isTerminal && testCase.nobodyToAsk.empty()) {
      ASSERT_EQ(console.prompts.size(), 1u);
      EXPECT_TRUE(console.prompts[0].ends_with(" [y/N] ")) << console.prompts[0];
      EXPECT_NE(console.prompts[0].find(caption), std::string::npos);
    } else {
      ASSERT_EQ(console.err.size(), 1u);
      EXPECT_NE(console.err[0].find(testCase.hint), std::string::npos) << console.err[0];
      EXPECT_NE(console.err[0].find("Cancel"), std::string::npos) << console.err[0];
      EXPECT_EQ(console.err[0].find('\n'), std::string::npos);
    }
  }
}

}  // namespace
}  // namespace morvel::cli
