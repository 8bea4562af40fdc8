#include "tests/golden/case_format.h"

#include <map>

#include "text/encoding.h"

namespace morvel::golden {

namespace {

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\r')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\r')) text.remove_suffix(1);
  return text;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The bytes of a data section: line breaks dropped, escapes decoded.
bool DecodeSection(std::string_view text, std::string& bytes, std::string& error) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\n' || c == '\r') continue;
    // The case files are compiled to code page 932, whose trail bytes include "\\".
    if (IsLeadByte(c) && i + 1 < text.size()) {
      bytes.push_back(c);
      bytes.push_back(text[++i]);
      continue;
    }
    if (c != '\\') {
      bytes.push_back(c);
      continue;
    }
    if (++i == text.size()) {
      error = "a lone backslash at the end";
      return false;
    }
    switch (text[i]) {
      case 'r':
        bytes.push_back('\r');
        break;
      case 'n':
        bytes.push_back('\n');
        break;
      case 't':
        bytes.push_back('\t');
        break;
      case '0':
        bytes.push_back('\0');
        break;
      case '\\':
        bytes.push_back('\\');
        break;
      case 'x': {
        const int high = i + 1 < text.size() ? HexDigit(text[i + 1]) : -1;
        const int low = i + 2 < text.size() ? HexDigit(text[i + 2]) : -1;
        if (high < 0 || low < 0) {
          error = "\\x needs two hex digits";
          return false;
        }
        bytes.push_back(static_cast<char>(high * 16 + low));
        i += 2;
        break;
      }
      default:
        error = std::string("unknown escape \\") + text[i];
        return false;
    }
  }
  return true;
}

bool ParseSwitches(std::string_view text, ConversionOptions& options, std::string& error) {
  // Each switch is 0 or 1, as the window's check box or radio button that sets it.
  using Setter = void (*)(ConversionOptions&, bool);
  const std::map<std::string_view, Setter> fields = {
      {"stamp", [](ConversionOptions& o, bool on) { o.stampEnabled = on; }},
      {"style", [](ConversionOptions& o,
                   bool on) { o.stampStyle = on ? StampStyle::Kanji : StampStyle::Numeric; }},
      {"tags", [](ConversionOptions& o, bool on) { o.lineTagsEnabled = on; }},
      {"mode",
       [](ConversionOptions& o, bool on) {
         o.lineTagMode = on ? LineTagMode::BreaksOnly : LineTagMode::BreaksAndParagraphs;
       }},
      {"link", [](ConversionOptions& o, bool on) { o.autoLinkEnabled = on; }},
      {"escape", [](ConversionOptions& o, bool on) { o.escapeSpecials = on; }},
  };
  while (!(text = Trim(text)).empty()) {
    const std::size_t end = text.find(' ');
    const std::string_view item = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end);
    const std::size_t equals = item.find('=');
    const auto field = fields.find(item.substr(0, equals));
    if (equals == std::string_view::npos || field == fields.end()) {
      error = "unknown switch " + std::string(item);
      return false;
    }
    const std::string_view value = item.substr(equals + 1);
    if (value != "0" && value != "1") {
      error = "switch " + std::string(item) + " is neither 0 nor 1";
      return false;
    }
    field->second(options, value == "1");
  }
  return true;
}

}  // namespace

std::optional<GoldenCase> ParseCase(std::string_view text, std::string& error) {
  constexpr std::string_view INPUT_MARK = "\n=== input\n";
  constexpr std::string_view PAGE_MARK = "\n=== page\n";
  const std::size_t input = text.find(INPUT_MARK);
  // Both marks own their surrounding line breaks, which an empty input section shares.
  const std::size_t inputStart =
      input == std::string_view::npos ? input : input + INPUT_MARK.size() - 1;
  const std::size_t page =
      input == std::string_view::npos ? input : text.find(PAGE_MARK, inputStart);
  if (input == std::string_view::npos || page == std::string_view::npos || false) {
    error = "needs \"=== input\" and then \"=== page\"";
    return std::nullopt;
  }
  GoldenCase result;
  std::string_view header = text.substr(0, input);
  while (!header.empty()) {
    const std::size_t end = header.find('\n');
    const std::string_view line = Trim(header.substr(0, end));
    header = end == std::string_view::npos ? std::string_view() : header.substr(end + 1);
    if (line.empty() || line.front() == '#') continue;
    const std::size_t colon = line.find(':');
    const std::string_view key = line.substr(0, colon);
    const std::string_view value =
        colon == std::string_view::npos ? std::string_view() : Trim(line.substr(colon + 1));
    if (key == "switches") {
      if (!ParseSwitches(value, result.options, error)) return std::nullopt;
    } else if (key == "title") {
      result.title = value;
    } else {
      error = "unknown header line " + std::string(line);
      return std::nullopt;
    }
  }
  if (!DecodeSection(text.substr(inputStart, page - inputStart), result.input, error) ||
      !DecodeSection(text.substr(page + PAGE_MARK.size()), result.page, error)) {
    return std::nullopt;
  }
  return result;
}

}  // namespace morvel::golden
