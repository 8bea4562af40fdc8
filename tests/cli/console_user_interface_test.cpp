// The engine's message boxes on a terminal: which stream, what text, and how the two
// questions are answered.
#include "cli/console_user_interface.h"

#include <gtest/gtest.h>

#include "cli/host.h"
#include "engine/messages.h"
#include "tests/cli/fake_console.h"

namespace morvel::cli {
namespace {

using testing::FakeConsole;

std::string Host(std::string_view engineText) { return ToHostText(engineText); }

TEST(ConsoleUserInterface, MessagesGoToStandardErrorWithCaptionOnOneLine) {
  // A box with OK and Cancel that asks nothing (the missing folder) is a message too, on a
  // terminal or not.
  for (const bool isTerminal : {false, true}) {
    FakeConsole console;
    console.isTerminal = isTerminal;
    console.typed = {"y"};
    ConsoleUserInterface user(console, false);
    EXPECT_EQ(
        user.ShowMessage(messages::SOURCE_MISSING, messages::CAPTION_SOURCE_PATH, BOX_ICONWARNING),
        ANSWER_OK);
    user.SetLabel("a.txt");
    user.ShowMessage("line one\nline two", messages::CAPTION_APP, BOX_ICONWARNING);
    user.ShowMessage(messages::TARGET_FOLDER_MISSING, messages::CAPTION_OPEN_ERROR,
                     BOX_ICONWARNING | BOX_OKCANCEL);
    EXPECT_TRUE(console.out.empty());
    EXPECT_TRUE(console.prompts.empty());
    EXPECT_EQ(console.err, (std::vector<std::string>{
                               "morvel-convert: " + Host(messages::CAPTION_SOURCE_PATH) + ": " +
                                   Host(messages::SOURCE_MISSING),
                               "morvel-convert: a.txt: MORVEL: line one line two",
                               "morvel-convert: a.txt: " + Host(messages::CAPTION_OPEN_ERROR) +
                                   ": " + Host(messages::TARGET_FOLDER_MISSING)}));
  }
}

TEST(ConsoleUserInterface, CompletionGoesToStandardOutputUnlessQuiet) {
  const std::string completed = "\\tmp\\ページ.htm" + std::string(messages::COMPLETED_SUFFIX);
  for (const bool quiet : {false, true}) {
    FakeConsole console;
    ConsoleUserInterface user(console, quiet);
    EXPECT_EQ(user.ShowMessage(completed, messages::CAPTION_COMPLETED, BOX_OK), ANSWER_OK);
    EXPECT_TRUE(console.err.empty());
    if (quiet) {
      EXPECT_TRUE(console.out.empty());
    } else {
      EXPECT_EQ(console.out, std::vector<std::string>{Host(messages::CAPTION_COMPLETED) + ": " +
                                                      DisplayPath("\\tmp\\ページ.htm") +
                                                      Host(messages::COMPLETED_SUFFIX)});
    }
  }
}

struct QuestionCase {
  std::string_view question;
  bool isTerminal;
  std::deque<std::string> typed;
  int expected;
  std::string_view hint;  // expected in the Cancel line when nobody can be asked
  std::string nobodyToAsk = {};
};

// A question that --yes or --force answers never reaches the console: the engine takes the
// answer from the request.
TEST(ConsoleUserInterface, QuestionsAreAnsweredAtTheTerminalOrCancel) {
  const std::string_view ext = messages::ASK_FIX_EXTENSION;
  const std::string_view over = messages::ASK_OVERWRITE;
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
                 << Host(testCase.question) << " terminal " << testCase.isTerminal << " typed "
                 << ::testing::PrintToString(testCase.typed));
    FakeConsole console;
    console.isTerminal = testCase.isTerminal;
    console.typed = testCase.typed;
    ConsoleUserInterface user(console, false);
    if (!testCase.nobodyToAsk.empty()) user.SetNobodyToAsk(testCase.nobodyToAsk);
    const std::string_view caption =
        testCase.question == ext ? messages::CAPTION_EXTENSION : messages::CAPTION_OVERWRITE;
    EXPECT_EQ(user.ShowMessage(testCase.question, caption, BOX_ICONWARNING | BOX_OKCANCEL),
              testCase.expected);

    if (testCase.isTerminal && testCase.nobodyToAsk.empty()) {
      ASSERT_EQ(console.prompts.size(), 1u);
      EXPECT_TRUE(console.prompts[0].ends_with(" [y/N] ")) << console.prompts[0];
      EXPECT_NE(console.prompts[0].find(Host(caption)), std::string::npos);
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
