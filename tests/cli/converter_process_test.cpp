// morvel-convert as a user runs it: a separate process in a folder, files named in UTF-8, and
// the page compared byte for byte with what the engine writes for the same settings.
//
// This file is compiled without the code page 932 execution charset: its Japanese literals are
// UTF-8, as the command line and the terminal carry them.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli/host.h"
#include "engine/morvel.h"
#include "tests/cli/process_runner.h"
#include "tests/support/fake_platform.h"
#include "tests/support/without_date.h"

namespace morvel::testing {
namespace {

std::string Cp932(std::string_view utf8) {
  auto bytes = cli::ToEngineText(utf8);
  EXPECT_TRUE(bytes) << utf8;
  return bytes.value_or("");
}

// A short Japanese text with a tab, an address, special characters and two paragraphs.
std::string SampleText() {
  return Cp932(
      "表示のテスト\tタブ & <記号> \"引用\"\r\n"
      "http://example.com/ を見てください。\r\n"
      "\r\n"
      "二つ目の段落\r\n");
}

// The page the engine writes for `text` with these settings, the update box's date left out.
std::string EnginePage(const std::string& text, const ConversionOptions& options,
                       std::string_view title) {
  FakePlatform fake;
  fake.files.AddFolder("C:\\in");
  fake.files.AddFile("C:\\in\\in.txt", text);
  ConversionRequest request;
  request.sourcePath = "C:\\in\\in.txt";
  request.targetPath = "C:\\in\\page.htm";
  request.options = options;
  request.title = std::string(title);
  EXPECT_EQ(ConvertFile(request, fake.platform), ConversionOutcome::Written);
  return fake.files.Contents(request.targetPath);
}

TEST(ConverterProcess, DefaultsWriteThePageTheEngineWrites) {
  ConverterProcess run;
  run.WriteFile("in.txt", SampleText());
  const ProcessResult result = run.Run({"in.txt", "page.htm"});
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.out, "完了: " + run.FullPath("page.htm") + "が作成できました。\n");
  const auto page = run.ReadFile("page.htm");
  ASSERT_TRUE(page);
  EXPECT_NE(page->find(Cp932("更新日")), std::string::npos);
  EXPECT_EQ(WithoutDate(*page), WithoutDate(EnginePage(SampleText(), {}, "")));
}

TEST(ConverterProcess, EveryOptionReachesThePage) {
  struct Case {
    std::vector<std::string> options;
    ConversionOptions engine;
    std::string title;
  };
  ConversionOptions allChanged;
  allChanged.stampEnabled = false;
  allChanged.lineTagMode = LineTagMode::BreaksOnly;
  allChanged.autoLinkEnabled = false;
  allChanged.escapeSpecials = false;
  allChanged.bgColour = {0xFF0000};
  allChanged.textColour = {0x00FF00};
  ConversionOptions numericNoTags;
  numericNoTags.stampStyle = StampStyle::Numeric;
  numericNoTags.lineTagsEnabled = false;
  const std::vector<Case> cases = {
      {{"--title", "表題 & <b>", "--bg", "ff0000", "--fg", "00Ff00", "--stamp", "off", "--tags",
        "br", "--no-links", "--no-escape"},
       allChanged,
       "表題 & <b>"},
      {{"--stamp", "numeric", "--tags", "off"}, numericNoTags, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.options));
    ConverterProcess run;
    run.WriteFile("in.txt", SampleText());
    std::vector<std::string> arguments = c.options;
    arguments.insert(arguments.end(), {"in.txt", "page.htm"});
    const ProcessResult result = run.Run(arguments);
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(WithoutDate(run.ReadFile("page.htm").value_or("")),
              WithoutDate(EnginePage(SampleText(), c.engine, c.title)));
  }
}

TEST(ConverterProcess, PipesCarryThePageThatFilesGet) {
  const std::vector<std::vector<std::string>> switchSets = {
      {},
      {"--stamp", "off", "--tags", "br", "--no-escape", "--title", "表"},
      {"--stamp", "numeric", "--tags", "off", "--no-links"},
  };
  for (const auto& switches : switchSets) {
    SCOPED_TRACE(::testing::PrintToString(switches));
    ConverterProcess run;
    run.WriteFile("in.txt", SampleText());
    auto arguments = [&](std::string source, std::string target) {
      std::vector<std::string> all = switches;
      all.insert(all.end(), {std::move(source), std::move(target)});
      return all;
    };
    ASSERT_EQ(run.Run(arguments("in.txt", "file.htm")).exitStatus, 0);
    const std::string filePage = WithoutDate(run.ReadFile("file.htm").value_or(""));

    // To standard output: the page and nothing else, and no question.
    for (const auto& [source, input] :
         {std::pair<std::string, std::string>{"-", SampleText()}, {"in.txt", ""}}) {
      const ProcessResult result = run.Run(arguments(source, "-"), input);
      EXPECT_EQ(result.exitStatus, 0) << result.err;
      EXPECT_EQ(result.err, "");
      EXPECT_EQ(WithoutDate(result.outBytes), filePage) << source;
    }
    // From standard input to a file: the checks and the completion line as for any file.
    const ProcessResult result = run.Run(arguments("-", "file.htm"), SampleText());
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_NE(result.err.find("standard input is the text, so the answer is Cancel"),
              std::string::npos)
        << result.err;
    const ProcessResult piped = run.Run(arguments("-", "piped"), SampleText());
    EXPECT_EQ(piped.exitStatus, 1);
    const ProcessResult forced = run.Run(arguments("-", "piped.htm"), SampleText());
    EXPECT_EQ(forced.exitStatus, 0) << forced.err;
    EXPECT_EQ(forced.out, "完了: " + run.FullPath("piped.htm") + "が作成できました。\n");
    EXPECT_EQ(WithoutDate(run.ReadFile("piped.htm").value_or("")), filePage);
  }
}

// Interrupted or killed while it waits for the rest of its text, the converter leaves the page
// it was told to replace as it was, and nothing beside it. An interruption ends it by the signal
// itself, once the page is removed.
TEST(ConverterProcess, AConverterStoppedMidwayLeavesTheOldPage) {
#ifdef _WIN32
  const std::vector<int> stops = {9};  // terminated
  const int delayMs = 2000;            // Wine starts slowly
#else
  const std::vector<int> stops = {SIGKILL, SIGINT, SIGTERM, SIGHUP};
  const int delayMs = 300;
#endif
  for (const int signal : stops) {
    SCOPED_TRACE(signal);
    ConverterProcess run;
    run.WriteFile("page.htm", "old page");
    const ProcessResult stopped =
        run.Run({"-f", "-", "page.htm"}, {SampleText(), delayMs, signal, std::nullopt});
    EXPECT_EQ(stopped.exitStatus, -1);
#ifndef _WIN32
    EXPECT_EQ(stopped.killedBy, signal);
#endif
    EXPECT_EQ(run.ReadFile("page.htm"), "old page");
    EXPECT_EQ(run.List(), std::vector<std::string>{"page.htm"});
  }
}

// The page's language: lang="ja" on a UTF-8 page of text with kana, what --lang names on any
// page, none with --lang none; a tag that is not one is a usage error.
TEST(ConverterProcess, ThePageNamesItsLanguage) {
  struct Case {
    std::vector<std::string> options;
    std::string text;
    const char* opening;  // of the page's second line; empty for a usage error
  };
  const std::string kana = "かな\n", chinese = "汉字\n", cp932 = Cp932("かな\n");
  const Case cases[] = {
      {{}, kana, "<HTML lang=\"ja\"><HEAD>"},
      {{}, chinese, "<HTML><HEAD>"},
      {{}, cp932, "<HTML><HEAD>"},
      {{"--lang", "en-GB"}, cp932, "<HTML lang=\"en-GB\"><HEAD>"},
      {{"--lang", "zh-Hans"}, kana, "<HTML lang=\"zh-Hans\"><HEAD>"},
      {{"--lang", "none"}, kana, "<HTML><HEAD>"},
      {{"--lang", "ja_JP"}, kana, ""},
      {{"--lang", std::string(36, 'a')}, kana, ""},
  };
  for (const auto& c : cases) {
    ConverterProcess run;
    run.WriteFile("in.txt", c.text);
    std::vector<std::string> arguments = c.options;
    arguments.insert(arguments.end(), {"in.txt", "page.htm"});
    const ProcessResult result = run.Run(arguments);
    SCOPED_TRACE(c.text + (c.options.empty() ? "" : c.options[1]));
    if (std::string_view(c.opening).empty()) {
      EXPECT_EQ(result.exitStatus, 2);
      continue;
    }
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    const std::string page = run.ReadFile("page.htm").value_or("");
    EXPECT_EQ(page.substr(page.find("\r\n") + 2, std::string_view(c.opening).size()), c.opening);
  }
}

#ifndef _WIN32
// A source that can be read only once (a FIFO, process substitution) gives the page that the
// same bytes give from a regular file, even when a late byte settles the text's encoding; a
// FIFO as the page gets the page once.
TEST(ConverterProcess, ASourceReadOnlyOnceGivesTheRegularFilesPage) {
  const std::string ascii(70000, 'a');
  const std::vector<std::pair<const char*, std::string>> texts = {
      {"ASCII, then UTF-8", ascii + "雪\n"},
      {"ASCII, UTF-8, then a bad byte", ascii + "雪\xFF\n"},
      {"code page 932", SampleText()},
  };
  const std::vector<std::pair<const char*, std::string>> ways = {
      {"a FIFO",
       "mkfifo fifo.txt && { cat in.txt > fifo.txt & } && $MORVEL --stamp off fifo.txt out.htm"},
      {"process substitution", "$MORVEL --stamp off <(cat in.txt) out.htm"},
      {"a FIFO as the page, written once",
       "mkfifo pipe.htm && { cat pipe.htm > out.htm & } && $MORVEL -f --stamp off in.txt pipe.htm "
       "&& wait"},
  };
  for (const auto& [textName, text] : texts) {
    ConverterProcess run;
    run.WriteFile("in.txt", text);
    ASSERT_EQ(run.Run({"--stamp", "off", "in.txt", "file.htm"}).exitStatus, 0);
    for (const auto& [wayName, command] : ways) {
      SCOPED_TRACE(std::string(textName) + " through " + wayName);
      run.RunShell("rm -f fifo.txt out.htm pipe.htm");
      const ProcessResult result = run.RunShell(command);
      EXPECT_EQ(result.exitStatus, 0) << result.err;
      EXPECT_EQ(run.ReadFile("out.htm"), run.ReadFile("file.htm"));
    }
  }
  // A picture's copy opens the FIFO again, after its writer is gone.
  ConverterProcess run;
  const ProcessResult picture = run.RunShell(
      "mkdir o && mkfifo p.png && { printf PNG > p.png & } && timeout 10 $MORVEL p.png o/p.htm");
  EXPECT_EQ(picture.exitStatus, 0) << picture.err;
  EXPECT_EQ(run.ReadFile("o/p.png"), "PNG");
}

// A write the system refuses (a reader gone away, the file size limit) is a failure the converter
// reports with status 3, and a batch goes on with its other conversions.
TEST(ConverterProcess, WritesTheSystemRefusesAreReportedFailures) {
  struct Case {
    const char* name;
    const char* script;
    const char* message;
    std::vector<std::string> pages;
  };
  const Case cases[] = {
      {"a reader that went away",
       "{ sleep 0.3; $MORVEL --out-dir od a.txt b.txt c.txt; echo $? > status; } | true",
       "が作成できました。",
       {"od/a.htm", "od/b.htm", "od/c.htm"}},
      {"the file size limit",
       "ulimit -f 16; $MORVEL big.txt page.htm; echo $? > status",
       "ファイルの書き込みに失敗しました。",
       {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ConverterProcess run;
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) run.WriteFile(name, SampleText());
    run.WriteFile("big.txt", std::string(100'000, 'x'));
    run.MakeFolder("od");
    const ProcessResult result = run.RunShell(c.script);
    EXPECT_EQ(run.ReadFile("status"), "3\n");
    EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
    for (const auto& page : c.pages) EXPECT_TRUE(run.ReadFile(page)) << page;
  }
}

// Ctrl+C in a shell loop of conversions stops the loop, as it stops a loop of `cat`: the
// converter dies by the signal, so the shell knows it was interrupted. No page is left.
TEST(ConverterProcess, CtrlCStopsAShellLoopOfConversions) {
  const auto loop = [](const std::string& command) {
    return "for i in 1 2 3; do sleep 1 | " + command + "; echo $i >> ran; done";
  };
  ConverterProcess reference;
  const ProcessResult cat = reference.RunShell(loop("cat > p$i.htm"), 300);
  ConverterProcess run;
  const ProcessResult converter = run.RunShell(loop("$MORVEL - p$i.htm"), 300);
  EXPECT_EQ(cat.killedBy, SIGINT);
  EXPECT_EQ(converter.killedBy, cat.killedBy) << converter.err;
  EXPECT_EQ(run.ReadFile("ran"), reference.ReadFile("ran"));
  EXPECT_EQ(run.List(), std::vector<std::string>{});
}
#endif

// Two converters on one page at once (two windows, or a script and a window), both with their
// pages open: both succeed, and the page left is the whole page of one of them.
TEST(ConverterProcess, TwoConvertersAtOnceLeaveTheWholePageOfOne) {
#ifdef _WIN32
  const int pairs = 2, holdMs = 1500;  // Wine starts slowly
#else
  const int pairs = 10, holdMs = 30;
#endif
  std::string text;
  while (text.size() < 30'000) text += SampleText();
  ConversionOptions noStamp;
  noStamp.stampEnabled = false;
  const std::string pageA = EnginePage(text, noStamp, "A");
  const std::string pageB = EnginePage(text, noStamp, "B");
  ConverterProcess run;
  for (int pair = 0; pair < pairs; ++pair) {
    SCOPED_TRACE(pair);
    if (pair % 2 == 0) run.WriteFile("page.htm", "old");
    const auto results =
        run.RunTogether({{"-f", "--stamp", "off", "--title", "A", "-", "page.htm"},
                         {"-f", "--stamp", "off", "--title", "B", "-", "page.htm"}},
                        text, holdMs);
    for (const auto& result : results) EXPECT_EQ(result.exitStatus, 0) << result.err;
    const std::string page = run.ReadFile("page.htm").value_or("");
    EXPECT_TRUE(page == pageA || page == pageB) << page.size() << " bytes";
    EXPECT_EQ(run.List(), std::vector<std::string>{"page.htm"});
  }
}

// The longest name a page can have (255 bytes on Linux, 255 UTF-16 units on Windows) is
// created and replaced: the temporary file's name does not grow with it.
TEST(ConverterProcess, ThePageWithTheLongestNameIsCreatedAndReplaced) {
  ConverterProcess run;
  run.WriteFile("in.txt", SampleText());
  const std::string name = std::string(251, 'n') + ".htm";
  for (const char* answer : {"-q", "-f"}) {
    const ProcessResult result = run.Run({answer, "in.txt", name});
    EXPECT_EQ(result.exitStatus, 0) << answer << result.err;
  }
  EXPECT_EQ(run.List(), (std::vector<std::string>{"in.txt", name}));
}

#ifndef _WIN32
// What the converter refuses or reports instead of costing the user data or the truth: standard
// output appended to the source, a loop of links as the page, a completion line that standard
// output cannot take.
TEST(ConverterProcess, StandardOutputAndLinksThatWouldCostDataOrTheTruth) {
  struct Case {
    std::vector<std::string> arguments;
    std::optional<std::string> standardOutput;
    int status;
    std::string errHas;
    std::vector<std::string> left;
  };
  const std::string completed = "完了: ";
  const std::vector<Case> cases = {
      {{"-q", "in.txt", "-"}, "in.txt", 1, "in.txt: input file is output file", {}},
      {{"-q", "*.txt", "-"}, "in.txt", 1, "*.txt: input file is output file", {}},
      {{"-f", "in.txt", "loop.htm"},
       std::nullopt,
       1,
       "作成するファイルが開くことができません。",
       {}},
      {{"in.txt", "page.htm"}, "/dev/full", 3, completed, {"page.htm"}},
      {{"in.txt", "page.htm"}, "", 3, completed, {"page.htm"}},
      {{"--version"}, "/dev/full", 3, "MORVEL 1.3", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.arguments) + " > " + c.standardOutput.value_or("-"));
    ConverterProcess run;
    run.WriteFile("in.txt", SampleText());
    std::filesystem::create_symlink("back.htm", run.FullPath("loop.htm"));
    std::filesystem::create_symlink("loop.htm", run.FullPath("back.htm"));
    RunOptions options;
    options.standardOutput = c.standardOutput;
    const ProcessResult result = run.Run(c.arguments, options);
    EXPECT_EQ(result.exitStatus, c.status);
    EXPECT_NE(result.err.find(c.errHas), std::string::npos) << result.err;
    EXPECT_EQ(run.ReadFile("in.txt"), SampleText());
    EXPECT_TRUE(std::filesystem::is_symlink(run.FullPath("loop.htm")));
    std::vector<std::string> left = {"back.htm", "in.txt", "loop.htm"};
    left.insert(left.end(), c.left.begin(), c.left.end());
    EXPECT_EQ(run.List(), left);
  }
}
#endif

TEST(ConverterProcess, UnicodeTextOnACodePage932PageGetsReferences) {
  struct Case {
    std::vector<std::string> switches;
    std::string text;  // UTF-8
    std::string pageHas;
  };
  const std::vector<Case> cases = {
      {{}, "雪☃ Café\r\n", Cp932("雪") + "&#9731; Caf&#233;"},
      // A reference ends an address and is never escaped again; "&" in the text still is.
      {{}, "http://a/☃b & c\r\n", "<A href=\"http://a/\">http://a/</A>&#9731;b &amp; c"},
      {{"--no-escape"}, "http://a/☃b & c\r\n", "<A href=\"http://a/\">http://a/</A>&#9731;b & c"},
      {{"--no-escape", "--no-links"}, "雪☃ Café & <b>", Cp932("雪") + "&#9731; Caf&#233; & <b>"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    ConverterProcess run;
    std::vector<std::string> arguments = c.switches;
    arguments.insert(arguments.end(), {"--encoding", "utf-8", "--page-encoding", "cp932", "--stamp",
                                       "off", "-", "-"});
    const ProcessResult result = run.Run(arguments, c.text);
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_NE(result.outBytes.find(c.pageHas), std::string::npos) << result.outBytes;
  }

  // A byte order mark is dropped: the page is the one the code page 932 text gets.
  ConverterProcess run;
  run.WriteFile("bom.txt",
                "\xEF\xBB\xBF"
                "表 x\r\n");
  ASSERT_EQ(run.Run({"--page-encoding", "cp932", "bom.txt", "bom.htm"}).exitStatus, 0);
  EXPECT_EQ(WithoutDate(run.ReadFile("bom.htm").value_or("")),
            WithoutDate(EnginePage(Cp932("表 x\r\n"), {}, "")));

  // By default the same texts give a UTF-8 page, every character as itself.
  run.WriteFile("snow.txt", "雪☃ Café\r\n");
  ASSERT_EQ(run.Run({"-f", "snow.txt", "snow.htm"}).exitStatus, 0);
  const std::string snowPage = run.ReadFile("snow.htm").value_or("");
  EXPECT_NE(snowPage.find("<HEAD><META charset=\"UTF-8\">"), std::string::npos) << snowPage;
  EXPECT_NE(snowPage.find("雪☃ Café"), std::string::npos) << snowPage;

  // Invalid UTF-8 is a read failure that names its line, and no page is left.
  run.WriteFile("bad.txt", "ok\r\n\xFF\r\n");
  const ProcessResult bad = run.Run({"--encoding", "utf-8", "bad.txt", "bad.htm"});
  EXPECT_EQ(bad.exitStatus, 3);
  EXPECT_NE(bad.err.find("2行目"), std::string::npos) << bad.err;
  EXPECT_FALSE(run.ReadFile("bad.htm"));
  // Lines are counted exactly however many line feeds come before the bad byte.
  run.WriteFile("late.txt", std::string(3000, '\n') + "\xFF");
  const ProcessResult late = run.Run({"--encoding", "utf-8", "late.txt", "late.htm"});
  EXPECT_EQ(late.exitStatus, 3);
  EXPECT_NE(late.err.find("3001行目"), std::string::npos) << late.err;
}

TEST(ConverterProcess, PictureIsCopiedBesideThePageWithItsBorder) {
  ConverterProcess run;
  run.MakeFolder("web");
  run.WriteFile("猫.png", "\x89PNG");
  const ProcessResult result = run.Run({"--border", "3", "--stamp", "off", "猫.png", "web/猫.htm"});
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_EQ(run.ReadFile("web/猫.png"), "\x89PNG");
  const std::string page = run.ReadFile("web/猫.htm").value_or("");
  EXPECT_NE(page.find("border=\"3\""), std::string::npos) << page;
  EXPECT_NE(page.find(Cp932("猫.png")), std::string::npos) << page;
}

TEST(ConverterProcess, QuestionsWithoutATerminalAreCancelledAndSayWhichOptionAnswers) {
  ConverterProcess run;
  run.WriteFile("in.txt", "x\r\n");
  run.WriteFile("page.htm", "mine");

  ProcessResult result = run.Run({"in.txt", "page.htm"});
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_NE(result.err.find("上書き"), std::string::npos) << result.err;
  EXPECT_NE(result.err.find("--force answers OK"), std::string::npos) << result.err;
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(run.ReadFile("page.htm"), "mine");

  result = run.Run({"-f", "-q", "in.txt", "page.htm"});
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_EQ(result.out, "");
  EXPECT_NE(run.ReadFile("page.htm"), "mine");

  result = run.Run({"in.txt", "other.txt"});
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_NE(result.err.find("--yes answers OK"), std::string::npos) << result.err;
  EXPECT_FALSE(run.ReadFile("other.htm"));

  result = run.Run({"--yes", "in.txt", "other.txt"});
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_TRUE(run.ReadFile("other.htm"));
  EXPECT_NE(result.out.find(run.FullPath("other.htm")), std::string::npos) << result.out;
}

TEST(ConverterProcess, ExitStatusesAndWhereTheMessagesGo) {
  ConverterProcess run;
  run.WriteFile("in.txt", "x\r\n");
  run.WriteFile("pic.png", "PNG");
  struct Case {
    std::vector<std::string> arguments;
    int status;
    std::string errHas;
    std::string outHas;
  };
  const std::vector<Case> cases = {
      {{"missing.txt", "page.htm"}, 1, "変換するファイルが存在しません", ""},
      // A message, not a question: nothing about an answer.
      {{"in.txt", "nowhere/page.htm"}, 1, "(フォルダ)が存在しません\n", ""},
      {{"pic.png", "-"}, 1, "pic.png: a picture's page cannot go to standard output", ""},
      {{"missing.txt", "-"}, 1, "変換するファイルが存在しません", ""},
      {{"in.txt", "in.txt"}, 1, "拡張子", ""},
      {{"--bg", "white", "in.txt", "page.htm"}, 2, "--bg", ""},
      {{"--stamp", "daily", "in.txt", "page.htm"}, 2, "--stamp", ""},
      {{"in.txt"}, 2, "TARGET", ""},
      {{"--help"}, 0, "", "--out-dir DIR"},
      {{"--version"}, 0, "", "MORVEL 1.3\n"},
      {{"in.txt", "😀.htm"}, 2, "code page 932", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.arguments));
    const ProcessResult result = run.Run(c.arguments);
    EXPECT_EQ(result.exitStatus, c.status) << result.err;
    EXPECT_NE(result.err.find(c.errHas), std::string::npos) << result.err;
    EXPECT_NE(result.out.find(c.outHas), std::string::npos) << result.out;
    if (c.status != 0) {
      EXPECT_EQ(result.out, "");
    }
  }
  EXPECT_FALSE(run.ReadFile("page.htm"));
}

TEST(ConverterProcess, JapaneseNamesTravelAsCodePage932AndOtherTitleCharactersAsReferences) {
  ConverterProcess run;
  run.MakeFolder("表");
  run.WriteFile("表/ソース.txt", SampleText());
  const ProcessResult result =
      run.Run({"--title", "表☃ é한😀", "--stamp", "off", "表/ソース.txt", "表/結果.htm"});
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_NE(result.out.find(run.FullPath("表/結果.htm")), std::string::npos) << result.out;
  const std::string page = run.ReadFile("表/結果.htm").value_or("");
  // 表 is 0x95 0x5C in code page 932; the others have no code page 932 form.
  EXPECT_NE(page.find("<TITLE>\x95\x5C&#9731; &#233;&#54620;&#128512;</TITLE>"), std::string::npos)
      << page;
}

TEST(ConverterProcess, OutDirConvertsEveryMemberPastAFailure) {
  ConverterProcess run;
  run.MakeFolder("pages");
  run.WriteFile("a.txt", "a\r\n");
  run.WriteFile("表.txt", "b\r\n");
  run.WriteFile("pages/a.htm", "mine");
  const ProcessResult result = run.Run({"--out-dir", "pages", "a.txt", "missing.txt", "表.txt"});
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_EQ(run.ReadFile("pages/a.htm"), "mine");
  EXPECT_TRUE(run.ReadFile("pages/表.htm"));
  EXPECT_NE(result.err.find("missing.txt: "), std::string::npos) << result.err;
  EXPECT_NE(result.err.find("1 of 3 pages written, 2 refused or cancelled"), std::string::npos)
      << result.err;

  const ProcessResult forced = run.Run({"-f", "--out-dir", "pages", "a.txt", "表.txt"});
  EXPECT_EQ(forced.exitStatus, 0) << forced.err;
  EXPECT_NE(run.ReadFile("pages/a.htm"), "mine");
  EXPECT_NE(forced.out.find("2 of 2 pages written"), std::string::npos) << forced.out;
}

}  // namespace
}  // namespace morvel::testing
