#include "cli/command_line.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

namespace morvel::cli {

namespace {

constexpr std::string_view HELP_HEAD =
    "Usage: morvel-convert [options] SOURCE TARGET\n"
    "       morvel-convert [options] --out-dir DIR SOURCE...\n"
    "\n"
    "Turns a text file into an HTML page, as the MORVEL window does. The text may be code page\n"
    "932 (Shift-JIS), UTF-8 or UTF-16; code page 932 text gives a code page 932 page, UTF-8 and\n"
    "UTF-16 text a UTF-8 page that declares itself.\n";
constexpr std::string_view HELP_STREAMS =
    "SOURCE - reads the text from standard input; TARGET - writes the page to standard output.\n";

// Stands in an option's help for the bytes of standard input that decide its encoding.
constexpr std::string_view SHARE_MARK = "STANDARD_INPUT_SHARE";

constexpr std::size_t HELP_INDENT = 25;  // where the option's description starts
constexpr std::size_t HELP_WIDTH = 93;   // no help line is longer

using Result = std::optional<std::string>;

// ---------------------------------------------------------------------------------------------
// Values

// The values an option takes, from its argument "a|b|c", as "a, b or c".
std::string Alternatives(std::string_view argument) {
  std::string text(argument);
  const auto last = text.rfind('|');
  if (last != std::string::npos) text.replace(last, 1, " or ");
  for (auto bar = text.find('|'); bar != std::string::npos; bar = text.find('|', bar)) {
    text.replace(bar, 1, ", ");
  }
  return text;
}

std::string Quoted(std::string_view value) {
  std::string text(1, '"');
  return text.append(value).append(1, '"');
}

std::string NotOneOf(const OptionSpec& self, std::string_view value) {
  return "option " + std::string(self.longName) + " takes " + Alternatives(self.argument) +
         ", not " + Quoted(value);
}

std::optional<Colour> ParseColour(std::string_view value) {
  if (value.size() != 6) return std::nullopt;
  Colour colour;
  for (const char c : value) {
    const int digit = c >= '0' && c <= '9'   ? c - '0'
                      : c >= 'a' && c <= 'f' ? c - 'a' + 10
                      : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                             : -1;
    if (digit < 0) return std::nullopt;
    colour.rgb = colour.rgb << 4 | static_cast<std::uint32_t>(digit);
  }
  return colour;
}

// The window reads its border field as an unsigned 32-bit number; the same range is taken here.
std::optional<std::uint32_t> ParseBorder(std::string_view value) {
  if (value.empty()) return std::nullopt;
  std::uint32_t number = 0;
  const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
  if (error != std::errc() || end != value.data() + value.size()) return std::nullopt;
  return number;
}

Result SetColour(Colour& colour, const OptionSpec& self, std::string_view value) {
  const auto parsed = ParseColour(value);
  if (!parsed) {
    return "option " + std::string(self.longName) + " needs six hexadecimal digits (RRGGBB), not " +
           Quoted(value);
  }
  colour = *parsed;
  return std::nullopt;
}

// The values of --stamp and --tags, each a setting of a switch and of its mode.
template <typename Mode>
struct Choice {
  std::string_view name;
  bool enabled;
  Mode mode;
};

constexpr Choice<StampStyle> STAMP_CHOICES[] = {{"kanji", true, StampStyle::Kanji},
                                                {"numeric", true, StampStyle::Numeric},
                                                {"off", false, StampStyle::Kanji}};
// The values of --encoding and --page-encoding.
template <typename Encoding>
struct EncodingName {
  std::string_view name;
  Encoding encoding;
};

constexpr EncodingName<TextEncodingChoice> TEXT_ENCODINGS[] = {
    {"auto", TextEncodingChoice::Auto},
    {"cp932", TextEncodingChoice::CodePage932},
    {"utf-8", TextEncodingChoice::Utf8},
    {"utf-16le", TextEncodingChoice::Utf16Le},
    {"utf-16be", TextEncodingChoice::Utf16Be}};
constexpr EncodingName<PageEncodingChoice> PAGE_ENCODINGS[] = {
    {"auto", PageEncodingChoice::Auto},
    {"cp932", PageEncodingChoice::CodePage932},
    {"utf-8", PageEncodingChoice::Utf8}};

template <typename Encoding, std::size_t N>
Result SetEncoding(const EncodingName<Encoding> (&names)[N], const OptionSpec& self,
                   std::string_view value, Encoding& encoding) {
  for (const auto& name : names) {
    if (name.name != value) continue;
    encoding = name.encoding;
    return std::nullopt;
  }
  return NotOneOf(self, value);
}

template <typename Encoding, std::size_t N>
std::string EncodingNameOf(const EncodingName<Encoding> (&names)[N], Encoding encoding) {
  for (const auto& name : names) {
    if (name.encoding == encoding) return std::string(name.name);
  }
  return {};
}

constexpr Choice<LineTagMode> TAG_CHOICES[] = {{"brp", true, LineTagMode::BreaksAndParagraphs},
                                               {"br", true, LineTagMode::BreaksOnly},
                                               {"off", false, LineTagMode::BreaksAndParagraphs}};

template <typename Mode, std::size_t N>
Result SetChoice(const Choice<Mode> (&choices)[N], const OptionSpec& self, std::string_view value,
                 bool& enabled, Mode& mode) {
  for (const auto& choice : choices) {
    if (choice.name != value) continue;
    enabled = choice.enabled;
    if (choice.enabled) mode = choice.mode;
    return std::nullopt;
  }
  return NotOneOf(self, value);
}

// The name of the choice that a switch and its mode make.
template <typename Mode, std::size_t N>
std::string ChoiceName(const Choice<Mode> (&choices)[N], bool enabled, Mode mode) {
  for (const auto& choice : choices) {
    if (choice.enabled == enabled && (!enabled || choice.mode == mode)) {
      return std::string(choice.name);
    }
  }
  return {};
}

// The options that switch a feature off.
template <bool ConversionOptions::*Feature>
Result SwitchOff(CommandLine& line, const OptionSpec&, std::string_view) {
  line.options.*Feature = false;
  return std::nullopt;
}

// The options that answer a question before it is asked.
template <bool PresetAnswers::*Question>
Result AnswerOk(CommandLine& line, const OptionSpec&, std::string_view) {
  line.answers.*Question = true;
  return std::nullopt;
}

// ---------------------------------------------------------------------------------------------
// The table

constexpr std::string_view INPUT = "Input:";
constexpr std::string_view PAGE = "Page options (defaults as in the window):";
constexpr std::string_view RUN = "Questions and output:";

constexpr OptionSpec OPTIONS[] = {
    {"--encoding", 0, "auto|cp932|utf-8|utf-16le|utf-16be", INPUT,
     "the text's encoding. auto: a byte order mark names it; otherwise text that is all valid "
     "UTF-8 with a byte of 0x80 or above is UTF-8, and any other text code page 932 (standard "
     "input is decided on its first STANDARD_INPUT_SHARE). A UTF encoding given here still drops "
     "its own mark",
     [](CommandLine& l, const OptionSpec& self, std::string_view v) {
       return SetEncoding(TEXT_ENCODINGS, self, v, l.textEncoding);
     },
     [](const CommandLine& d) -> Result { return EncodingNameOf(TEXT_ENCODINGS, d.textEncoding); }},
    {"--page-encoding", 0, "auto|cp932|utf-8", INPUT,
     "the page's encoding. auto follows the text: code page 932 for code page 932 text and for "
     "a picture, UTF-8 for UTF-8 and UTF-16 text. On a cp932 page a character that code page "
     "932 lacks becomes a reference such as &#9731;; a utf-8 page declares itself, and a code "
     "page 932 sequence that is not defined shows as U+FFFD",
     [](CommandLine& l, const OptionSpec& self, std::string_view v) {
       return SetEncoding(PAGE_ENCODINGS, self, v, l.pageEncoding);
     },
     [](const CommandLine& d) -> Result { return EncodingNameOf(PAGE_ENCODINGS, d.pageEncoding); }},
    {"--lang", 0, "TAG|none", PAGE,
     "the language the page names, as lang=\"TAG\" on its <HTML> element (TAG: letters, digits "
     "and hyphens, at most 35), or none. Without it a UTF-8 page names ja when its text has a "
     "kana character in its first STANDARD_INPUT_SHARE, and other pages none",
     [](CommandLine& l, const OptionSpec& self, std::string_view v) -> Result {
       if (v == "none") {
         l.language = PageLanguageChoice::None;
       } else if (IsLanguageTag(v)) {
         l.language = PageLanguageChoice::Named;
         l.languageTag = v;
       } else {
         return "option " + std::string(self.longName) +
                " takes a language tag (letters, digits and hyphens, at most 35) or none, not " +
                Quoted(v);
       }
       return std::nullopt;
     },
     [](const CommandLine& d) -> Result {
       if (d.language == PageLanguageChoice::Named) return d.languageTag;
       return d.language == PageLanguageChoice::None ? "none" : "ja for kana on a UTF-8 page";
     }},
    {"--title", 0, "TEXT", PAGE, "page title",
     [](CommandLine& l, const OptionSpec&, std::string_view v) -> Result {
       l.title = v;
       return std::nullopt;
     },
     [](const CommandLine& d) -> Result { return d.title.empty() ? "empty" : d.title; }},
    {"--bg", 0, "RRGGBB", PAGE, "background colour, six hexadecimal digits",
     [](CommandLine& l, const OptionSpec& self, std::string_view v) {
       return SetColour(l.options.bgColour, self, v);
     },
     [](const CommandLine& d) -> Result { return HexDigits(d.options.bgColour); }},
    {"--fg", 0, "RRGGBB", PAGE, "text colour, six hexadecimal digits",
     [](CommandLine& l, const OptionSpec& self, std::string_view v) {
       return SetColour(l.options.textColour, self, v);
     },
     [](const CommandLine& d) -> Result { return HexDigits(d.options.textColour); }},
    {"--stamp", 0, "kanji|numeric|off", PAGE, "update date box at the top right",
     [](CommandLine& l, const OptionSpec& self, std::string_view v) {
       return SetChoice(STAMP_CHOICES, self, v, l.options.stampEnabled, l.options.stampStyle);
     },
     [](const CommandLine& d) -> Result {
       return ChoiceName(STAMP_CHOICES, d.options.stampEnabled, d.options.stampStyle);
     }},
    {"--tags", 0, "brp|br|off", PAGE,
     "line-break tags: <BR> and <P> for paragraphs, <BR> only, or none",
     [](CommandLine& l, const OptionSpec& self, std::string_view v) {
       return SetChoice(TAG_CHOICES, self, v, l.options.lineTagsEnabled, l.options.lineTagMode);
     },
     [](const CommandLine& d) -> Result {
       return ChoiceName(TAG_CHOICES, d.options.lineTagsEnabled, d.options.lineTagMode);
     }},
    {"--no-links", 0, "", PAGE, "do not turn http:// addresses into links",
     SwitchOff<&ConversionOptions::autoLinkEnabled>,
     [](const CommandLine& d) -> Result {
       return d.options.autoLinkEnabled ? "links on" : "links off";
     }},
    {"--no-escape", 0, "", PAGE, "write & \" < > as they are",
     SwitchOff<&ConversionOptions::escapeSpecials>,
     [](const CommandLine& d) -> Result {
       return d.options.escapeSpecials ? "written as entities" : "written as they are";
     }},
    {"--border", 0, "N", PAGE, "border of a picture, in pixels",
     [](CommandLine& l, const OptionSpec&, std::string_view v) -> Result {
       const auto border = ParseBorder(v);
       if (!border) {
         return "option --border needs a whole number from 0 to 4294967295, not " + Quoted(v);
       }
       l.options.imageBorder = *border;
       return std::nullopt;
     },
     [](const CommandLine& d) -> Result { return std::to_string(d.options.imageBorder); }},
    {"--yes", 'y', "", RUN,
     "answer OK when the target's extension does not begin with htm (the extension is then "
     "replaced by .htm)",
     AnswerOk<&PresetAnswers::fixExtension>, nullptr},
    {"--force", 'f', "", RUN,
     "answer OK when the target exists (it is replaced). Without these, a terminal is asked "
     "(y/N); with no terminal the answer is Cancel.",
     AnswerOk<&PresetAnswers::overwrite>, nullptr},
    {"--quiet", 'q', "", RUN, "no completion lines on standard output",
     [](CommandLine& l, const OptionSpec&, std::string_view) -> Result {
       l.quiet = true;
       return std::nullopt;
     },
     nullptr},
    {"--out-dir", 0, "DIR", RUN,
     "convert every SOURCE to DIR/NAME.htm (NAME without extension); one failure does not stop "
     "the others, and a page never replaces one of the SOURCEs",
     [](CommandLine& l, const OptionSpec&, std::string_view v) -> Result {
       if (v.empty()) return "option --out-dir needs a folder";
       l.outDir = v;
       return std::nullopt;
     },
     nullptr},
    {"--help", 'h', "", RUN, "show this help",
     [](CommandLine& l, const OptionSpec&, std::string_view) -> Result {
       l.action = Action::ShowHelp;
       return std::nullopt;
     },
     nullptr},
    {"--version", 0, "", RUN, "show the version",
     [](CommandLine& l, const OptionSpec&, std::string_view) -> Result {
       l.action = Action::ShowVersion;
       return std::nullopt;
     },
     nullptr},
};

const OptionSpec* FindLong(std::string_view name) {
  const auto found = std::find_if(std::begin(OPTIONS), std::end(OPTIONS),
                                  [&](const OptionSpec& o) { return o.longName == name; });
  return found == std::end(OPTIONS) ? nullptr : found;
}

const OptionSpec* FindShort(char letter) {
  const auto found = std::find_if(std::begin(OPTIONS), std::end(OPTIONS),
                                  [&](const OptionSpec& o) { return o.shortName == letter; });
  return found == std::end(OPTIONS) ? nullptr : found;
}

// ---------------------------------------------------------------------------------------------
// The help

// Joins two words that the help never puts on two lines; it shows as a space.
constexpr char NO_BREAK = '\0';

// Appends `words` to `help`, broken into lines that start at `indent`; `column` is where the
// first word starts.
void AppendWrapped(std::string& help, std::string_view words, std::size_t column,
                   std::size_t indent = HELP_INDENT) {
  bool first = true;
  while (!words.empty()) {
    const auto space = words.find(' ');
    const std::string_view word = words.substr(0, space);
    words = space == std::string_view::npos ? std::string_view() : words.substr(space + 1);
    if (!first && column + 1 + word.size() > HELP_WIDTH) {
      help += '\n';
      help.append(indent, ' ');
      column = indent;
    } else if (!first) {
      help += ' ';
      ++column;
    }
    for (const char c : word) help += c == NO_BREAK ? ' ' : c;
    column += word.size();
    first = false;
  }
  help += '\n';
}

// The picture extensions as the help lists them: ".jpg .jpeg ...".
std::string PictureExtensions() {
  std::string list;
  for (const std::string_view extension : PICTURE_EXTENSIONS) {
    if (!list.empty()) list += ' ';
    list += '.';
    for (const char c : extension) list += c >= 'A' && c <= 'Z' ? static_cast<char>(c + 0x20) : c;
  }
  return list;
}

// An option's help with the share of standard input written out ("64 KiB").
std::string OptionHelp(const OptionSpec& option) {
  std::string text(option.help);
  if (const auto mark = text.find(SHARE_MARK); mark != std::string::npos) {
    text.replace(mark, SHARE_MARK.size(), std::to_string(STANDARD_INPUT_SHARE / 1024) + " KiB");
  }
  return text;
}

std::string ExitStatusHelp() {
  std::string words = "Exit status:";
  std::string_view separator = " ";
  for (const ExitStatusMeaning& exit : EXIT_STATUS_MEANINGS) {
    words.append(separator).append(std::to_string(exit.status)) += NO_BREAK;
    words.append(exit.meaning);
    separator = "; ";
  }
  std::string help;
  AppendWrapped(help, words.append("."), 0, 0);
  return help;
}

}  // namespace

std::string ProgramLine(std::string_view text) {
  std::string line(PROGRAM_NAME);
  return line.append(": ").append(text);
}

std::span<const OptionSpec> Options() { return OPTIONS; }

std::string_view OptionAnswering(Question question) {
  const auto answers = question == Question::FixExtension  ? AnswerOk<&PresetAnswers::fixExtension>
                       : question == Question::ReplacePage ? AnswerOk<&PresetAnswers::overwrite>
                                                           : nullptr;
  for (const OptionSpec& option : OPTIONS) {
    if (answers && option.apply == answers) return option.longName;
  }
  return {};
}

std::string HelpText() {
  const CommandLine defaults;
  std::string help(HELP_HEAD);
  help.append("A picture (")
      .append(PictureExtensions())
      .append(") is copied beside the page and shown on it.\n");
  help.append(HELP_STREAMS);
  std::string_view section;
  for (const OptionSpec& option : OPTIONS) {
    if (option.section != section) {
      section = option.section;
      help.append("\n").append(section).append("\n");
    }
    std::string name = "  ";
    if (option.shortName) name.append({'-', option.shortName, ',', ' '});
    name += option.longName;
    if (!option.argument.empty()) name.append(" ").append(option.argument);
    if (name.size() + 1 > HELP_INDENT) {
      name += '\n';
      name.append(HELP_INDENT, ' ');
    } else {
      name.resize(HELP_INDENT, ' ');
    }
    std::string text = OptionHelp(option);
    if (const auto value = option.defaultOf ? option.defaultOf(defaults) : std::nullopt) {
      text += " (default: " + *value + ")";
    }
    help += name;
    AppendWrapped(help, text, HELP_INDENT);
  }
  help.append("\n").append(ExitStatusHelp());
  return help;
}

namespace {

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

  bool Apply(const OptionSpec& option, std::string_view value) {
    auto problem = option.apply(result_, option, value);
    return !problem || Fail(std::move(*problem));
  }

  // The value of an option that takes one, given inline or as the next argument.
  bool ApplyWithValue(const OptionSpec& option, std::string_view name,
                      std::optional<std::string_view> inlineValue) {
    if (inlineValue) return Apply(option, *inlineValue);
    if (next_ >= arguments_.size()) return Fail("option " + std::string(name) + " needs a value");
    return Apply(option, arguments_[next_++]);
  }

  // "--name", "--name=value" or "--name value".
  bool LongOption(std::string_view argument) {
    std::string_view name = argument;
    std::optional<std::string_view> inlineValue;
    if (const auto equals = argument.find('='); equals != std::string_view::npos) {
      name = argument.substr(0, equals);
      inlineValue = argument.substr(equals + 1);
    }
    const OptionSpec* option = FindLong(name);
    if (!option) return Fail("unknown option " + std::string(name) + " (see --help)");
    if (option->argument.empty()) {
      if (inlineValue) return Fail("option " + std::string(name) + " takes no value");
      return Apply(*option, {});
    }
    return ApplyWithValue(*option, name, inlineValue);
  }

  // "-yfq"; a letter that takes a value takes the rest of the argument or the next one.
  bool ShortOptions(std::string_view argument) {
    for (std::size_t at = 1; at < argument.size(); ++at) {
      const char letter = argument[at];
      const OptionSpec* option = FindShort(letter);
      if (!option) return Fail("unknown option -" + std::string(1, letter) + " (see --help)");
      if (option->argument.empty()) {
        if (!Apply(*option, {})) return false;
        continue;
      }
      const std::string_view rest = argument.substr(at + 1);
      const char name[] = {'-', letter};
      return ApplyWithValue(*option, std::string_view(name, 2),
                            rest.empty() ? std::nullopt : std::optional(rest));
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

}  // namespace morvel::cli
