// The converter's command line: every option, the defaults, and the usage errors.
#include "cli/command_line.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <functional>
#include <set>

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
  EXPECT_EQ(line.action, Action::Convert);
  EXPECT_TRUE(line.options.stampEnabled);
  EXPECT_EQ(line.options.stampStyle, StampStyle::Kanji);
  EXPECT_TRUE(line.options.lineTagsEnabled);
  EXPECT_EQ(line.options.lineTagMode, LineTagMode::BreaksAndParagraphs);
  EXPECT_TRUE(line.options.autoLinkEnabled);
  EXPECT_TRUE(line.options.escapeSpecials);
  EXPECT_EQ(line.options.imageBorder, 0u);
  EXPECT_EQ(line.options.bgColour, Colour{0xFFFFFF});
  EXPECT_EQ(line.options.textColour, Colour{0x000000});
  EXPECT_EQ(line.title, "");
  EXPECT_FALSE(line.answers.fixExtension);
  EXPECT_FALSE(line.answers.overwrite);
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
      {{"--bg", "ff00aB"}, [](auto& l) { EXPECT_EQ(l.options.bgColour, Colour{0xFF00AB}); }},
      {{"--fg=0a0b0c"}, [](auto& l) { EXPECT_EQ(l.options.textColour, Colour{0x0A0B0C}); }},
      {{"--stamp", "numeric"},
       [](auto& l) {
         EXPECT_TRUE(l.options.stampEnabled);
         EXPECT_EQ(l.options.stampStyle, StampStyle::Numeric);
       }},
      {{"--stamp", "kanji"},
       [](auto& l) {
         EXPECT_TRUE(l.options.stampEnabled);
         EXPECT_EQ(l.options.stampStyle, StampStyle::Kanji);
       }},
      {{"--stamp", "off"}, [](auto& l) { EXPECT_FALSE(l.options.stampEnabled); }},
      {{"--tags", "br"},
       [](auto& l) {
         EXPECT_TRUE(l.options.lineTagsEnabled);
         EXPECT_EQ(l.options.lineTagMode, LineTagMode::BreaksOnly);
       }},
      {{"--tags", "brp"},
       [](auto& l) {
         EXPECT_TRUE(l.options.lineTagsEnabled);
         EXPECT_EQ(l.options.lineTagMode, LineTagMode::BreaksAndParagraphs);
       }},
      {{"--tags=off"}, [](auto& l) { EXPECT_FALSE(l.options.lineTagsEnabled); }},
      {{"--no-links"}, [](auto& l) { EXPECT_FALSE(l.options.autoLinkEnabled); }},
      {{"--no-escape"}, [](auto& l) { EXPECT_FALSE(l.options.escapeSpecials); }},
      {{"--border", "12"}, [](auto& l) { EXPECT_EQ(l.options.imageBorder, 12u); }},
      {{"--border", "4294967295"}, [](auto& l) { EXPECT_EQ(l.options.imageBorder, 4294967295u); }},
      {{"-y"}, [](auto& l) { EXPECT_TRUE(l.answers.fixExtension); }},
      {{"--yes"}, [](auto& l) { EXPECT_TRUE(l.answers.fixExtension); }},
      {{"-f"}, [](auto& l) { EXPECT_TRUE(l.answers.overwrite); }},
      {{"--force"}, [](auto& l) { EXPECT_TRUE(l.answers.overwrite); }},
      {{"-q"}, [](auto& l) { EXPECT_TRUE(l.quiet); }},
      {{"-yfq"},
       [](auto& l) {
         EXPECT_TRUE(l.answers.fixExtension && l.answers.overwrite && l.quiet);
         EXPECT_TRUE(l.options.autoLinkEnabled);
       }},
      {{"--bg", "000000", "--bg", "111111"},
       [](auto& l) { EXPECT_EQ(l.options.bgColour, Colour{0x111111}); }},
      {{"--encoding", "utf-8"},
       [](auto& l) { EXPECT_EQ(l.textEncoding, TextEncodingChoice::Utf8); }},
      {{"--encoding=utf-8", "--encoding", "cp932"},
       [](auto& l) { EXPECT_EQ(l.textEncoding, TextEncodingChoice::CodePage932); }},
      {{"--encoding=utf-16le"},
       [](auto& l) { EXPECT_EQ(l.textEncoding, TextEncodingChoice::Utf16Le); }},
      {{"--encoding", "utf-16be", "--page-encoding", "cp932"},
       [](auto& l) {
         EXPECT_EQ(l.textEncoding, TextEncodingChoice::Utf16Be);
         EXPECT_EQ(l.pageEncoding, PageEncodingChoice::CodePage932);
       }},
      {{"--page-encoding=utf-8"},
       [](auto& l) { EXPECT_EQ(l.pageEncoding, PageEncodingChoice::Utf8); }},
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
  EXPECT_FALSE(line.options.autoLinkEnabled);
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
  const std::string help = HelpText();
  for (std::string_view text : {"--title TEXT",    "--bg RRGGBB",
                                "FFFFFF",          "--fg RRGGBB",
                                "000000",          "--stamp kanji|numeric|off",
                                "default: kanji",  "--tags brp|br|off",
                                "default: brp",    "--no-links",
                                "--no-escape",     "--border N",
                                "default: 0",      "-y, --yes",
                                "-f, --force",     "-q, --quiet",
                                "--out-dir DIR",   "--version",
                                "Exit status",     "--encoding auto|cp932|utf-8|utf-16le|utf-16be",
                                "default: auto",   "--page-encoding auto|cp932|utf-8",
                                "SOURCE -",        "TARGET -",
                                "completion line", "first 64 KiB",
                                ".png .rle)"}) {
    EXPECT_NE(help.find(text), std::string::npos) << text;
  }
}

// A value each kind of argument takes; an argument "a|b|c" takes each of a, b and c.
std::vector<std::string> SampleValues(std::string_view argument) {
  if (argument == "RRGGBB") return {"12ab3C"};
  if (argument == "N") return {"7"};
  if (argument == "TEXT" || argument == "DIR") return {"x"};
  std::vector<std::string> values;
  for (std::size_t start = 0; start <= argument.size();) {
    const auto bar = std::min(argument.find('|', start), argument.size());
    values.emplace_back(argument.substr(start, bar - start));
    start = bar + 1;
  }
  return values;
}

// Generated from the table and the help: every option the help names parses (with each value
// its argument lists), and every option of the table is in the help.
TEST(CommandLine, TheHelpAndTheParserKnowTheSameOptions) {
  const std::string help = HelpText();
  std::set<std::string> inHelp;
  for (std::size_t at = help.find('-'); at != std::string::npos; at = help.find('-', at + 1)) {
    const bool startsWord = at == 0 || help[at - 1] == ' ' || help[at - 1] == '\n';
    if (!startsWord) continue;
    std::size_t end = at + 1;
    if (end < help.size() && help[end] == '-') ++end;
    while (end < help.size() &&
           (std::islower(static_cast<unsigned char>(help[end])) || help[end] == '-')) {
      ++end;
    }
    const std::string name = help.substr(at, end - at);
    if (name.size() > 1 && name != "--") inHelp.insert(name);
  }
  for (const std::string& name : inHelp) {
    const OptionSpec* row = nullptr;
    for (const OptionSpec& option : Options()) {
      if (option.longName == name || (name.size() == 2 && option.shortName == name[1])) {
        row = &option;
      }
    }
    ASSERT_NE(row, nullptr) << name << " is in the help but not in the table";
    for (const std::string& value : SampleValues(row->argument)) {
      std::vector<std::string> arguments = {name};
      if (!row->argument.empty()) arguments.push_back(value);
      arguments.insert(arguments.end(), {"a", "b"});
      const auto parsed = Parse(arguments);
      EXPECT_TRUE(std::holds_alternative<CommandLine>(parsed))
          << name << " " << value << ": " << std::get<UsageError>(parsed).message;
    }
  }
  for (const OptionSpec& option : Options()) {
    EXPECT_TRUE(inHelp.contains(std::string(option.longName))) << option.longName;
    if (option.shortName) {
      EXPECT_TRUE(inHelp.contains(std::string{'-', option.shortName})) << option.longName;
    }
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
