// The README and the manual page against the facts the converter itself uses: its options
// with their arguments and defaults, its exit statuses, the picture extensions and the share of
// standard input that decides its encoding.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <optional>
#include <set>
#include <sstream>
#include <utility>

#include "cli/command_line.h"

namespace morvel::cli {
namespace {

std::string ReadDocument(const std::string& name) {
  std::ifstream file(std::string(MORVEL_SOURCE_DIR) + "/" + name, std::ios::binary);
  EXPECT_TRUE(file) << name;
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

std::string Replaced(std::string text, std::string_view from, std::string_view to) {
  for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

// A manual page's line as it reads: a font macro's arguments run together (a quoted one with
// its spaces), other requests dropped.
std::string ManualText(const std::string& line) {
  const std::string text = Replaced(Replaced(Replaced(line, "\\-", "-"), "\\(dq", "\""), "\\&", "");
  if (!text.starts_with('.')) return text;
  const auto space = text.find(' ');
  static const std::set<std::string> FONTS = {"B", "BI", "BR", "I", "IR", "RB", "RI"};
  if (space == std::string::npos || !FONTS.contains(text.substr(1, space - 1))) return {};
  std::string plain;
  bool quoted = false;
  for (const char c : text.substr(space + 1)) {
    if (c == '"') {
      quoted = !quoted;
    } else if (c != ' ' || quoted) {
      plain += c;
    }
  }
  return plain;
}

// A manual page's section `name` as it reads, each .TP tag on a line of its own after ".TP".
std::string ManualSection(const std::string& manual, std::string_view name) {
  std::string section;
  bool inside = false;
  bool tagNext = false;
  for (const std::string& line : Lines(manual)) {
    if (line.starts_with(".SH ")) {
      inside = line.substr(4) == name;
    } else if (inside && line.starts_with(".TP")) {
      section += "\n.TP\n";
      tagNext = true;
    } else if (inside) {
      section += ManualText(line) + (std::exchange(tagNext, false) ? "\n" : " ");
    }
  }
  return section;
}

// An option as the help names it: "-y, --yes", "--stamp kanji|numeric|off".
std::string HelpName(const OptionSpec& option) {
  std::string name;
  if (option.shortName) name.append({'-', option.shortName, ',', ' '});
  name += option.longName;
  if (!option.argument.empty()) name.append(" ").append(option.argument);
  return name;
}

std::optional<std::string> DefaultOf(const OptionSpec& option) {
  return option.defaultOf ? option.defaultOf(CommandLine{}) : std::nullopt;
}

// The rows of the README's option table.
std::vector<std::string> ReadmeRows() {
  std::vector<std::string> rows;
  bool inTable = false;
  for (const std::string& line : Lines(ReadDocument("README.md"))) {
    if (line.starts_with("| Option |")) {
      inTable = true;
    } else if (inTable && line.starts_with("| ")) {
      rows.push_back(line);
    } else if (inTable && !line.starts_with("|---")) {
      break;
    }
  }
  return rows;
}

TEST(Documentation, TheManualPageNamesEveryOptionOfTheHelpWithItsDefault) {
  const std::string manual = ManualSection(ReadDocument("docs/morvel-convert.1"), "OPTIONS");
  std::size_t entries = 0;
  for (auto at = manual.find("\n.TP\n"); at != std::string::npos;
       at = manual.find("\n.TP\n", at + 1)) {
    ++entries;
  }
  EXPECT_EQ(entries, Options().size());
  for (const OptionSpec& option : Options()) {
    const std::string name = HelpName(option);
    const auto at = manual.find("\n.TP\n" + name + "\n");
    ASSERT_NE(at, std::string::npos) << name;
    const std::string entry = manual.substr(at + 1, manual.find("\n.TP\n", at + 1) - at);
    if (const auto value = DefaultOf(option)) {
      EXPECT_NE(entry.find("Default: " + *value + "."), std::string::npos) << entry;
    }
  }
}

TEST(Documentation, TheReadmeTableNamesEveryOptionOfTheHelpWithItsDefault) {
  const std::vector<std::string> rows = ReadmeRows();
  std::set<std::string> named;
  for (const OptionSpec& option : Options()) {
    std::string name(option.longName);
    if (!option.argument.empty())
      name.append(" ").append(Replaced(std::string(option.argument), "|", "\\|"));
    named.insert(name);
    const auto row = std::find_if(rows.begin(), rows.end(), [&](const std::string& line) {
      return line.find("`" + name + "`") != std::string::npos;
    });
    ASSERT_NE(row, rows.end()) << name;
    if (option.shortName) {
      named.insert(std::string{'-', option.shortName});
      EXPECT_NE(row->find(std::string{'`', '-', option.shortName, '`'}), std::string::npos) << name;
    }
    if (const auto value = DefaultOf(option)) {
      const std::string defaults = row->substr(row->rfind(" | ") + 3);
      EXPECT_NE(Replaced(defaults, "`", "").find(*value), std::string::npos) << name;
    }
  }
  // Nothing the table names is missing from the help.
  for (const std::string& row : rows) {
    const std::string names = row.substr(2, row.find(" | ") - 2);
    for (auto open = names.find('`'); open != std::string::npos; open = names.find('`', open + 1)) {
      const auto close = names.find('`', open + 1);
      EXPECT_TRUE(named.contains(names.substr(open + 1, close - open - 1))) << row;
      open = close;
    }
  }
}

TEST(Documentation, TheReadmesAndTheManualPageNameEveryExitStatus) {
  const std::string manual = ManualSection(ReadDocument("docs/morvel-convert.1"), "EXIT STATUS");
  for (const ExitStatusMeaning& exit : EXIT_STATUS_MEANINGS) {
    EXPECT_NE(manual.find(".TP\n" + std::to_string(exit.status) + "\n"), std::string::npos)
        << exit.status;
  }
  for (const char* readme : {"README.md", "docs/README-Windows.txt"}) {
    const std::string text = Replaced(ReadDocument(readme), "\n", " ");
    const std::string said = text.substr(text.find("Exit status: "), 400);
    for (const ExitStatusMeaning& exit : EXIT_STATUS_MEANINGS) {
      const std::string number = std::to_string(exit.status) + " ";
      EXPECT_TRUE(said.find(": " + number) != std::string::npos ||
                  said.find("; " + number) != std::string::npos)
          << readme << ": " << exit.status;
    }
    // The completion line that standard output could not take is a failure too.
    EXPECT_NE(said.find("completion line"), std::string::npos) << readme;
  }
}

TEST(Documentation, TheReadmeAndTheManualPageNameThePicturesAndTheStandardInputShare) {
  const std::string readme = ReadDocument("README.md");
  std::string manual;
  for (const std::string& line : Lines(ReadDocument("docs/morvel-convert.1"))) {
    manual += ManualText(line) + " ";
  }
  for (const std::string_view extension : PICTURE_EXTENSIONS) {
    std::string lower(extension);
    for (char& c : lower) c = static_cast<char>(c - 'A' + 'a');
    EXPECT_NE(readme.find("`." + lower + "`"), std::string::npos) << lower;
    EXPECT_TRUE(manual.find(" " + lower + ", ") != std::string::npos ||
                manual.find(" " + lower + " ") != std::string::npos)
        << lower;
  }
  const std::string share = std::to_string(STANDARD_INPUT_SHARE / 1024) + " KiB";
  EXPECT_NE(readme.find("first " + share), std::string::npos);
  EXPECT_NE(manual.find("first " + share), std::string::npos);
}

}  // namespace
}  // namespace morvel::cli
