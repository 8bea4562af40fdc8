// The README and the manual page against the facts the converter itself uses: its options
// with their arguments and defaults, its exit statuses, the picture extensions and the share of
// standard input that decides its encoding.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>

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

// The lines of a manual page's section `name`, as they read.
std::vector<std::string> ManualSection(const std::string& manual, std::string_view name) {
  std::vector<std::string> section;
  bool inside = false;
  for (const std::string& line : Lines(manual)) {
    if (line.starts_with(".SH ")) {
      inside = line.substr(4) == name;
    } else if (inside) {
      section.push_back(line.starts_with(".TP") ? ".TP" : ManualText(line));
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

std::map<std::string, std::string> HelpDefaults() {
  std::map<std::string, std::string> defaults;
  for (const OptionSpec& option : Options()) {
    if (option.defaultOf) defaults[HelpName(option)] = *option.defaultOf(CommandLine{});
  }
  return defaults;
}

// Every option of the manual page's OPTIONS section (its .TP tags) and its "Default:".
std::map<std::string, std::string> ManualOptions() {
  std::map<std::string, std::string> options;
  std::string tag;
  std::string body;
  const auto take = [&] {
    if (tag.empty()) return;
    const auto at = body.find("Default: ");
    options[tag] = at == std::string::npos ? "" : body.substr(at + 9, body.find('.', at) - at - 9);
  };
  const std::vector<std::string> lines =
      ManualSection(ReadDocument("docs/morvel-convert.1"), "OPTIONS");
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i] != ".TP" || i + 1 == lines.size()) {
      body += lines[i].empty() ? "" : " " + lines[i];
      continue;
    }
    take();
    tag = lines[++i];
    body.clear();
  }
  take();
  return options;
}

// The README's option table: each option it names (short and long names apart, as it lists
// them) and the default in its row, one per option where a row lists several.
std::map<std::string, std::string> ReadmeOptions() {
  std::map<std::string, std::string> options;
  bool inTable = false;
  for (const std::string& line : Lines(ReadDocument("README.md"))) {
    if (line.starts_with("| Option |")) {
      inTable = true;
      continue;
    }
    if (!inTable || line.starts_with("|---")) continue;
    if (!line.starts_with("| ")) break;
    std::vector<std::string> cells;
    std::string cell;
    for (std::size_t i = 2; i < line.size(); ++i) {
      if (line[i] == '\\' && i + 1 < line.size() && line[i + 1] == '|') {
        cell += line[++i];
      } else if (line[i] == '|') {
        cells.push_back(Replaced(cell.substr(0, cell.size() - 1), "`", ""));
        cell.clear();
        ++i;
      } else {
        cell += line[i];
      }
    }
    const auto split = [](const std::string& text) {
      std::vector<std::string> parts;
      for (std::size_t start = 0; start <= text.size();) {
        const auto comma = std::min(text.find(", ", start), text.size());
        parts.push_back(text.substr(start, comma - start));
        start = comma + 2;
      }
      return parts;
    };
    const std::vector<std::string> names = split(cells.at(0));
    const std::vector<std::string> defaults = split(cells.at(2));
    for (std::size_t i = 0; i < names.size(); ++i) {
      options[names[i]] = defaults.size() == names.size() ? defaults[i] : defaults[0];
    }
  }
  return options;
}

TEST(Documentation, TheManualPageNamesEveryOptionOfTheHelpWithItsDefault) {
  const auto manual = ManualOptions();
  const auto defaults = HelpDefaults();
  std::set<std::string> named;
  for (const OptionSpec& option : Options()) {
    const std::string name = HelpName(option);
    named.insert(name);
    ASSERT_TRUE(manual.contains(name)) << name;
    if (defaults.contains(name)) {
      EXPECT_EQ(manual.at(name), defaults.at(name)) << name;
    }
  }
  for (const auto& [name, value] : manual) EXPECT_TRUE(named.contains(name)) << name;
}

TEST(Documentation, TheReadmeTableNamesEveryOptionOfTheHelpWithItsDefault) {
  const auto readme = ReadmeOptions();
  const auto defaults = HelpDefaults();
  std::set<std::string> named;
  for (const OptionSpec& option : Options()) {
    std::string name(option.longName);
    if (!option.argument.empty()) name.append(" ").append(option.argument);
    named.insert(name);
    ASSERT_TRUE(readme.contains(name)) << name;
    if (option.shortName) {
      named.insert(std::string{'-', option.shortName});
      EXPECT_TRUE(readme.contains(std::string{'-', option.shortName})) << name;
    }
    const auto value = defaults.find(HelpName(option));
    if (value != defaults.end()) {
      EXPECT_EQ(readme.at(name), value->second) << name;
    }
  }
  for (const auto& [name, value] : readme) EXPECT_TRUE(named.contains(name)) << name;
}

TEST(Documentation, TheReadmesAndTheManualPageNameEveryExitStatus) {
  std::string manual;
  for (const std::string& line :
       ManualSection(ReadDocument("docs/morvel-convert.1"), "EXIT STATUS")) {
    manual += line + "\n";
  }
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
