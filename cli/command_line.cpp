#include "cli/command_line.h"

#include <charconv>
#include <cstdint>

namespace morvel::cli {

namespace {

constexpr std::string_view HELP_TEXT =
    "Usage: morvel-convert [options] SOURCE TARGET\n"
    "       morvel-convert [options] --out-dir DIR SOURCE...\n"
    "\n"
    "Turns a code page 932 (Shift-JIS) or UTF-8 text file into an HTML page, as the MORVEL\n"
    "window does.\n"
    "A picture (.jpg .jpeg .gif .bmp .dib .png .rle) is copied beside the page and shown on it.\n"
    "SOURCE - reads the text from standard input; TARGET - writes the page to standard output.\n"
    "\n"
    "Input:\n"
    "  --encoding cp932|utf-8 the text's encoding (default: cp932); UTF-8 becomes code page\n"
    "                         932, and a character that code page 932 lacks becomes a\n"
    "                         reference such as &#9731;\n"
    "\n"
    "Page options (defaults as in the window):\n"
    "  --title TEXT           page title (default: empty)\n"
    "  --bg RRGGBB            background colour, six hexadecimal digits (default: FFFFFF)\n"
    "  --fg RRGGBB            text colour, six hexadecimal digits (default: 000000)\n"
    "  --stamp kanji|numeric|off\n"
    "                         update date box at the top right (default: kanji)\n"
    "  --tags brp|br|off      line-break tags: <BR> and <P> for paragraphs, <BR> only, or none\n"
    "                         (default: brp)\n"
    "  --no-links             do not turn http:// addresses into links (default: links on)\n"
    "  --no-escape            write & \" < > as they are (default: written as entities)\n"
    "  --border N             border of a picture, in pixels (default: 0)\n"
    "\n"
    "Questions and output:\n"
    "  -y, --yes              answer OK when the target's extension does not begin with htm\n"
    "                         (the extension is then replaced by .htm)\n"
    "  -f, --force            answer OK when the target exists (it is replaced)\n"
    "                         Without these, a terminal is asked (y/N); with no terminal the\n"
    "                         answer is Cancel.\n"
    "  -q, --quiet            no completion lines on standard output\n"
    "  --out-dir DIR          convert every SOURCE to DIR/NAME.htm (NAME without extension);\n"
    "                         one failure does not stop the others, and a page never\n"
    "                         replaces one of the SOURCEs\n"
    "  -h, --help             show this help\n"
    "  --version              show the version\n"
    "\n"
    "Exit status: 0 every page written; 1 a check refused or a question was answered Cancel;\n"
    "2 usage error; 3 a read, write or copy failure.\n";

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

std::optional<std::string> ParseColour(std::string_view value) {
  if (value.size() != 6) return std::nullopt;
  std::string colour;
  for (const char c : value) {
    if (!IsHexDigit(c)) return std::nullopt;
    colour.push_back(c >= 'a' && c <= 'f' ? static_cast<char>(c - 'a' + 'A') : c);
  }
  return colour;
}

// The window reads its border field as an unsigned 32-bit number and keeps its bits, so the
// same range is taken here and stored the same way.
std::optional<std::int32_t> ParseBorder(std::string_view value) {
  if (value.empty()) return std::nullopt;
  std::uint32_t number = 0;
  const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
  if (error != std::errc() || end != value.data() + value.size()) return std::nullopt;
  return static_cast<std::int32_t>(number);
}

class Parser {
 public:
  explicit Parser(std::span<const std::string> arguments) : arguments_(arguments) {}

  std::variant<CommandLine, UsageError> Parse() {
    std::vector<std::string> positional;
    bool optionsEnded = false;
    for (next_ = 0; next_ < arguments_.size();) {
      const std::string& argument = arguments_[next_++];
      if (optionsEnded || argument == STANDARD_STREAM || !argument.starts_with('-')) {
        positional.push_back(argument);
      } else if (argument == "--") {
        optionsEnded = true;
      } else if (argument.starts_with("--")) {
        if (!LongOption(argument)) break;
      } else if (!ShortOptions(argument)) {
        break;
      }
      if (result_.action != Action::Convert) return result_;
    }
    if (error_) return *error_;
    return Positionals(std::move(positional));
  }

 private:
  bool Fail(std::string message) {
    error_ = UsageError{std::move(message)};
    return false;
  }

  // The value of an option given as "--name=value" or "--name value".
  std::optional<std::string> ValueOf(std::string_view name,
                                     std::optional<std::string> inlineValue) {
    if (inlineValue) return inlineValue;
    if (next_ < arguments_.size()) return arguments_[next_++];
    Fail("option " + std::string(name) + " needs a value");
    return std::nullopt;
  }

  bool LongOption(std::string_view argument) {
    std::string_view name = argument;
    std::optional<std::string> inlineValue;
    if (const auto equals = argument.find('='); equals != std::string_view::npos) {
      name = argument.substr(0, equals);
      inlineValue = std::string(argument.substr(equals + 1));
    }
    if (name == "--title" || name == "--bg" || name == "--fg" || name == "--stamp" ||
        name == "--tags" || name == "--border" || name == "--out-dir" || name == "--encoding") {
      const auto value = ValueOf(name, std::move(inlineValue));
      return value && ValueOption(name, *value);
    }
    if (name == "--no-links" || name == "--no-escape" || name == "--yes" || name == "--force" ||
        name == "--quiet" || name == "--help" || name == "--version") {
      if (inlineValue) return Fail("option " + std::string(name) + " takes no value");
      return FlagOption(name);
    }
    return Fail("unknown option " + std::string(name) + " (see --help)");
  }

  bool ShortOptions(std::string_view argument) {
    for (const char letter : argument.substr(1)) {
      switch (letter) {
        case 'y':
          FlagOption("--yes");
          break;
        case 'f':
          FlagOption("--force");
          break;
        case 'q':
          FlagOption("--quiet");
          break;
        case 'h':
          FlagOption("--help");
          break;
        default:
          return Fail("unknown option -" + std::string(1, letter) + " (see --help)");
      }
    }
    return true;
  }

  bool FlagOption(std::string_view name) {
    if (name == "--no-links") result_.options.autoLinkEnabled = 0;
    if (name == "--no-escape") result_.options.escapeSpecials = 0;
    if (name == "--yes") result_.answerExtensionOk = true;
    if (name == "--force") result_.answerOverwriteOk = true;
    if (name == "--quiet") result_.quiet = true;
    if (name == "--help") result_.action = Action::ShowHelp;
    if (name == "--version") result_.action = Action::ShowVersion;
    return true;
  }

  bool ValueOption(std::string_view name, const std::string& value) {
    ConversionOptions& options = result_.options;
    if (name == "--title") {
      result_.title = value;
    } else if (name == "--bg" || name == "--fg") {
      const auto colour = ParseColour(value);
      if (!colour) {
        return Fail("option " + std::string(name) +
                    " needs six hexadecimal digits (RRGGBB), not \"" + value + "\"");
      }
      (name == "--bg" ? result_.bgColour : result_.textColour) = *colour;
    } else if (name == "--stamp") {
      if (value == "kanji" || value == "numeric") {
        options.stampEnabled = 1;
        options.stampStyle = value == "kanji" ? 1 : 0;
      } else if (value == "off") {
        options.stampEnabled = 0;
      } else {
        return Fail("option --stamp takes kanji, numeric or off, not \"" + value + "\"");
      }
    } else if (name == "--tags") {
      if (value == "brp" || value == "br") {
        options.lineTagsEnabled = 1;
        options.lineTagMode = value == "br" ? 1 : 0;
      } else if (value == "off") {
        options.lineTagsEnabled = 0;
      } else {
        return Fail("option --tags takes brp, br or off, not \"" + value + "\"");
      }
    } else if (name == "--border") {
      const auto border = ParseBorder(value);
      if (!border) {
        return Fail("option --border needs a whole number from 0 to 4294967295, not \"" + value +
                    "\"");
      }
      options.imageBorder = *border;
    } else if (name == "--encoding") {
      if (value != "cp932" && value != "utf-8") {
        return Fail("option --encoding takes cp932 or utf-8, not \"" + value + "\"");
      }
      result_.utf8Input = value == "utf-8";
    } else if (name == "--out-dir") {
      if (value.empty()) return Fail("option --out-dir needs a folder");
      result_.outDir = value;
    }
    return true;
  }

  std::variant<CommandLine, UsageError> Positionals(std::vector<std::string> positional) {
    if (result_.outDir) {
      if (positional.empty()) return UsageError{"--out-dir needs at least one SOURCE"};
      for (const std::string& source : positional) {
        if (source == STANDARD_STREAM) {
          return UsageError{
              "standard input (-) has no name to make a page name of: give it as "
              "SOURCE with a TARGET, not with --out-dir"};
        }
      }
      result_.sources = std::move(positional);
      return result_;
    }
    if (positional.size() != 2) {
      return UsageError{positional.empty() ? "SOURCE and TARGET are missing (see --help)"
                        : positional.size() == 1
                            ? "TARGET is missing (or use --out-dir DIR SOURCE...)"
                            : "too many files: give SOURCE and TARGET, or --out-dir DIR SOURCE..."};
    }
    result_.sources = {std::move(positional[0])};
    result_.target = std::move(positional[1]);
    return result_;
  }

  std::span<const std::string> arguments_;
  std::size_t next_ = 0;
  CommandLine result_;
  std::optional<UsageError> error_;
};

}  // namespace

std::variant<CommandLine, UsageError> ParseCommandLine(std::span<const std::string> arguments) {
  return Parser(arguments).Parse();
}

std::string_view HelpText() { return HELP_TEXT; }

}  // namespace morvel::cli
