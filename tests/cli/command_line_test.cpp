// The converter's command line: every option, the defaults, and the usage errors.
#include "cli/command_line.h"

#include <gtest/gtest.h>

#include <functional>

namespace morvel::cli {
namespace {

std::variant<CommandLine, UsageError> Parse(std::vector<std::string> arguments) {
  return ParseCommandLine(arguments);
}

CommandLine Parsed(std::vector<std::string> arguments) {
  auto result = Parse(std::move(arguments));
  if (auto* error = std::get_if<UsageError>(&result)) {
    ADD_FAILURE() << "usage error: " << error->message;
    return {};
  }
  return std::get<CommandLine>(result);
}

TEST(CommandLine, DefaultsAreTheWindowsDefaults) {
  const CommandLine line = Parsed({"in.txt", "out.htm"});
  const ConversionOptions windowDefaults;
  EXPECT_EQ(line.action, Action::Convert);
  EXPECT_EQ(line.options.stampEnabled, 1);
  EXPECT_EQ(line.options.stampStyle, 1);
  EXPECT_EQ(line.options.lineTagsEnabled, 1);
  EXPECT_EQ(line.options.lineTagMode, 0);
  EXPECT_EQ(line.options.autoLinkEnabled, 1);
  EXPECT_EQ(line.options.escapeSpecials, 1);
  EXPECT_EQ(line.options.imageBorder, 0);
  EXPECT_EQ(line.bgColour, "FFFFFF");
  EXPECT_EQ(line.textColour, "000000");
  EXPECT_EQ(line.title, "");
  EXPECT_FALSE(line.answerExtensionOk);
  EXPECT_FALSE(line.answerOverwriteOk);
  EXPECT_FALSE(line.quiet);
  EXPECT_FALSE(line.outDir);
  EXPECT_EQ(line.sources, std::vector<std::string>{"in.txt"});
  EXPECT_EQ(line.target, "out.htm");
}

struct OptionCase {
  std::vector<std::string> options;
  std::function<void(const CommandLine&)> check;
};

TEST(CommandLine, EachOptionSetsItsSetting) {
  const std::vector<OptionCase> cases = {
      {{"--title", "題名 x"}, [](auto& l) { EXPECT_EQ(l.title, "題名 x"); }},
      {{"--title=a=b"}, [](auto& l) { EXPECT_EQ(l.title, "a=b"); }},
      {{"--title", ""}, [](auto& l) { EXPECT_EQ(l.title, ""); }},
      {{"--bg", "ff00aB"}, [](auto& l) { EXPECT_EQ(l.bgColour, "FF00AB"); }},
      {{"--fg=0a0b0c"}, [](auto& l) { EXPECT_EQ(l.textColour, "0A0B0C"); }},
      {{"--stamp", "numeric"},
       [](auto& l) {
         EXPECT_EQ(l.options.stampEnabled, 1);
         EXPECT_EQ(l.options.stampStyle, 0);
       }},
      {{"--stamp", "kanji"},
       [](auto& l) {
         EXPECT_EQ(l.options.stampEnabled, 1);
         EXPECT_EQ(l.options.stampStyle, 1);
       }},
      {{"--stamp", "off"}, [](auto& l) { EXPECT_EQ(l.options.stampEnabled, 0); }},
      {{"--tags", "br"},
       [](auto& l) {
         EXPECT_EQ(l.options.lineTagsEnabled, 1);
         EXPECT_EQ(l.options.lineTagMode, 1);
       }},
      {{"--tags", "brp"},
       [](auto& l) {
         EXPECT_EQ(l.options.lineTagsEnabled, 1);
         EXPECT_EQ(l.options.lineTagMode, 0);
       }},
      {{"--tags=off"}, [](auto& l) { EXPECT_EQ(l.options.lineTagsEnabled, 0); }},
      {{"--no-links"}, [](auto& l) { EXPECT_EQ(l.options.autoLinkEnabled, 0); }},
      {{"--no-escape"}, [](auto& l) { EXPECT_EQ(l.options.escapeSpecials, 0); }},
      {{"--border", "12"}, [](auto& l) { EXPECT_EQ(l.options.imageBorder, 12); }},
      // The window keeps the bits of an unsigned 32-bit border; so does the command line.
      {{"--border", "4294967295"}, [](auto& l) { EXPECT_EQ(l.options.imageBorder, -1); }},
      {{"-y"}, [](auto& l) { EXPECT_TRUE(l.answerExtensionOk); }},
      {{"--yes"}, [](auto& l) { EXPECT_TRUE(l.answerExtensionOk); }},
      {{"-f"}, [](auto& l) { EXPECT_TRUE(l.answerOverwriteOk); }},
      {{"--force"}, [](auto& l) { EXPECT_TRUE(l.answerOverwriteOk); }},
      {{"-q"}, [](auto& l) { EXPECT_TRUE(l.quiet); }},
      {{"-yfq"},
       [](auto& l) {
         EXPECT_TRUE(l.answerExtensionOk && l.answerOverwriteOk && l.quiet);
         EXPECT_EQ(l.options.autoLinkEnabled, 1);
       }},
      {{"--bg", "000000", "--bg", "111111"}, [](auto& l) { EXPECT_EQ(l.bgColour, "111111"); }},
      {{"--encoding", "utf-8"}, [](auto& l) { EXPECT_TRUE(l.utf8Input); }},
      {{"--encoding=utf-8", "--encoding", "cp932"}, [](auto& l) { EXPECT_FALSE(l.utf8Input); }},
  };
  for (const auto& testCase : cases) {
    std::vector<std::string> arguments = testCase.options;
    arguments.insert(arguments.end(), {"in.txt", "out.htm"});
    SCOPED_TRACE(::testing::PrintToString(testCase.options));
    const CommandLine line = Parsed(arguments);
    testCase.check(line);
    EXPECT_EQ(line.sources, std::vector<std::string>{"in.txt"});
    EXPECT_EQ(line.target, "out.htm");
  }
}

TEST(CommandLine, OptionsMayFollowTheFilesAndDoubleDashEndsThem) {
  CommandLine line = Parsed({"in.txt", "--no-links", "out.htm", "-q"});
  EXPECT_EQ(line.options.autoLinkEnabled, 0);
  EXPECT_TRUE(line.quiet);
  EXPECT_EQ(line.target, "out.htm");

  line = Parsed({"--", "-in.txt", "--out.htm"});
  EXPECT_EQ(line.sources, std::vector<std::string>{"-in.txt"});
  EXPECT_EQ(line.target, "--out.htm");

  line = Parsed({"-", "-q", "-"});
  EXPECT_EQ(line.sources, std::vector<std::string>{"-"});
  EXPECT_EQ(line.target, "-");
}

TEST(CommandLine, OutDirTakesEverySource) {
  const CommandLine line = Parsed({"--out-dir", "pages", "a.txt", "b.txt", "c"});
  ASSERT_TRUE(line.outDir);
  EXPECT_EQ(*line.outDir, "pages");
  EXPECT_EQ(line.sources, (std::vector<std::string>{"a.txt", "b.txt", "c"}));
  EXPECT_EQ(line.target, "");
}

TEST(CommandLine, HelpAndVersionWinOverMissingFiles) {
  EXPECT_EQ(Parsed({"--help"}).action, Action::ShowHelp);
  EXPECT_EQ(Parsed({"-h"}).action, Action::ShowHelp);
  EXPECT_EQ(Parsed({"a", "--version"}).action, Action::ShowVersion);
  EXPECT_EQ(VERSION_TEXT, "MORVEL 1.3");
}

TEST(CommandLine, HelpShowsEveryOptionAndItsDefault) {
  const std::string_view help = HelpText();
  for (std::string_view text : {"--title TEXT",   "--bg RRGGBB",
                                "FFFFFF",         "--fg RRGGBB",
                                "000000",         "--stamp kanji|numeric|off",
                                "default: kanji", "--tags brp|br|off",
                                "default: brp",   "--no-links",
                                "--no-escape",    "--border N",
                                "default: 0",     "-y, --yes",
                                "-f, --force",    "-q, --quiet",
                                "--out-dir DIR",  "--version",
                                "Exit status",    "--encoding cp932|utf-8",
                                "default: cp932", "SOURCE -",
                                "TARGET -"}) {
    EXPECT_NE(help.find(text), std::string_view::npos) << text;
  }
}

struct UsageCase {
  std::vector<std::string> arguments;
  std::string mentions;  // the option or file the message must name
};

TEST(CommandLine, UsageErrorsNameWhatIsWrong) {
  const std::vector<UsageCase> cases = {
      {{}, "SOURCE and TARGET"},
      {{"in.txt"}, "TARGET"},
      {{"a", "b", "c"}, "too many"},
      {{"--bg", "FFFFF", "a", "b"}, "--bg"},
      {{"--bg", "FFFFFFF", "a", "b"}, "--bg"},
      {{"--bg", "#FFFFF", "a", "b"}, "--bg"},
      {{"--fg", "GG0000", "a", "b"}, "--fg"},
      {{"--fg", "", "a", "b"}, "--fg"},
      {{"--stamp", "yes", "a", "b"}, "--stamp"},
      {{"--tags", "p", "a", "b"}, "--tags"},
      {{"--border", "-1", "a", "b"}, "--border"},
      {{"--border", "4294967296", "a", "b"}, "--border"},
      {{"--border", "12px", "a", "b"}, "--border"},
      {{"--border", "", "a", "b"}, "--border"},
      {{"a", "b", "--title"}, "--title"},
      {{"--colour", "a", "b"}, "--colour"},
      {{"-x", "a", "b"}, "-x"},
      {{"--yes=1", "a", "b"}, "--yes"},
      {{"--out-dir"}, "--out-dir"},
      {{"--out-dir", "pages"}, "SOURCE"},
      {{"--out-dir", "", "a"}, "--out-dir"},
      {{"--out-dir", "pages", "a", "-"}, "standard input (-)"},
      {{"--encoding", "utf8", "a", "b"}, "--encoding"},
  };
  for (const auto& testCase : cases) {
    SCOPED_TRACE(::testing::PrintToString(testCase.arguments));
    const auto result = Parse(testCase.arguments);
    ASSERT_TRUE(std::holds_alternative<UsageError>(result));
    EXPECT_NE(std::get<UsageError>(result).message.find(testCase.mentions), std::string::npos)
        << std::get<UsageError>(result).message;
  }
}

}  // namespace
}  // namespace morvel::cli
