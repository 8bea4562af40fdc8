// The converter's arguments: options that mirror the window's settings, and the files to
// convert. Parsing is pure: text in, a request or a usage error out.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "engine/morvel.h"
#include "morvel_version.h"

namespace morvel::cli {

enum ExitStatus : int {
  EXIT_WRITTEN = 0,
  EXIT_REFUSED = 1,
  EXIT_USAGE = 2,
  EXIT_FAILED = 3,
};

// What each exit status means, as the help says it; the README and the manual page say the same.
struct ExitStatusMeaning {
  ExitStatus status;
  std::string_view meaning;
};
inline constexpr ExitStatusMeaning EXIT_STATUS_MEANINGS[] = {
    {EXIT_WRITTEN, "every page written"},
    {EXIT_REFUSED, "a check refused or a question was answered Cancel"},
    {EXIT_USAGE, "usage error"},
    {EXIT_FAILED,
     "a read, write or copy failure, or a completion line that standard output could not take"},
};

inline constexpr std::string_view PROGRAM_NAME = "morvel-convert";
inline constexpr std::string_view VERSION_TEXT = "MORVEL " MORVEL_VERSION;

// A line the converter says itself, on either stream: its name, ": " and `text`.
std::string ProgramLine(std::string_view text);

enum class Action { Convert, ShowHelp, ShowVersion };

// Texts are as the command line gave them (UTF-8 on Linux); the front end converts the title
// and paths for the engine afterwards. The defaults are those of the engine's settings.
struct CommandLine {
  Action action = Action::Convert;
  ConversionOptions options;
  std::string title;
  PresetAnswers answers;                                       // -y / --yes, -f / --force
  bool quiet = false;                                          // -q / --quiet
  TextEncodingChoice textEncoding = TextEncodingChoice::Auto;  // --encoding
  PageEncodingChoice pageEncoding = PageEncodingChoice::Auto;  // --page-encoding
  PageLanguageChoice language = PageLanguageChoice::Auto;      // --lang
  std::string languageTag;
  std::optional<std::string> outDir;
  std::vector<std::string> sources;  // one, unless --out-dir is given
  std::string target;                // only without --out-dir
};

// The name that stands for standard input as SOURCE and for standard output as TARGET.
inline constexpr std::string_view STANDARD_STREAM = "-";

struct UsageError {
  std::string message;  // one line, without the program's name
};

// `arguments` excludes the program's own name.
std::variant<CommandLine, UsageError> ParseCommandLine(std::span<const std::string> arguments);

// One option of the command line. Parsing and the help both walk the table of them.
struct OptionSpec {
  std::string_view longName;  // "--title"
  char shortName;             // 'y', or 0 for none
  std::string_view argument;  // "TEXT", "kanji|numeric|off" (the values it takes); empty for none
  std::string_view section;   // the help's heading above it
  std::string_view help;      // what it does, for the help
  // Sets the option in `line` from `value` (empty for an option without argument); a message
  // naming what is wrong when the value is not one the option takes.
  std::optional<std::string> (*apply)(CommandLine& line, const OptionSpec& self,
                                      std::string_view value);
  // The default shown in the help, read from a default command line; nothing for none.
  std::optional<std::string> (*defaultOf)(const CommandLine& defaults);
};

// Every option, in the order of the help.
std::span<const OptionSpec> Options();

// The long name of the option that answers `question` OK before it is asked ("--yes" for the
// extension fix); empty for a question no option answers.
std::string_view OptionAnswering(Question question);

// The --help text: every option with its default.
std::string HelpText();

}  // namespace morvel::cli
