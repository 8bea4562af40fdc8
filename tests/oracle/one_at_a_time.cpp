#include "tests/oracle/one_at_a_time.h"

#include <vector>

namespace morvel::oracle {

void ReplaceCharAt(std::string& buffer, char wanted, const std::string& replacement,
                   std::size_t position) {
  if (position >= buffer.size() || buffer[position] != wanted) return;
  const std::string scratch =
      buffer.substr(0, position) + replacement + buffer.substr(position + 1);
  buffer = scratch;
}

namespace {

unsigned char Upper(unsigned char byte) {
  return (byte >= 'a' && byte <= 'z') ? static_cast<unsigned char>(byte - 0x20) : byte;
}

bool StartsWithNoCase(const std::string& text, std::size_t from, const std::string& prefix) {
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (from + i >= text.size()) return false;
    if (Upper(static_cast<unsigned char>(text[from + i])) !=
        Upper(static_cast<unsigned char>(prefix[i]))) {
      return false;
    }
  }
  return true;
}

bool IsLead(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

}  // namespace

std::vector<long> FindAllOccurrences(const std::string& text, const std::string& pattern) {
  std::vector<long> offsets;
  std::size_t matched = 0;
  for (std::size_t j = 0; j < text.size(); ++j) {
    if (IsLead(static_cast<unsigned char>(text[j]))) {
      matched = 0;
      ++j;  // the trail byte goes with it
      continue;
    }
    if (text[j] == pattern[matched]) {
      ++matched;
    } else {
      matched = 0;
    }
    if (matched == pattern.size()) {
      offsets.push_back(static_cast<long>(j - pattern.size() + 1));
      matched = 0;
    }
  }
  offsets.push_back(-1);
  return offsets;
}

namespace {

// Rewrites the line around the address at `start`; returns the address's length plus 15.
long WrapLink(std::string& line, std::size_t start, std::size_t& length) {
  std::size_t end = start;
  for (;; ++end) {
    if (end >= line.size()) break;
    const auto byte = static_cast<unsigned char>(line[end]);
    if (byte <= 0x20 || byte >= 0x80) break;
    if (byte == 0x7F || byte == '"' || byte == '<') break;
    if (StartsWithNoCase(line, end, "&lt;")) break;
    if (StartsWithNoCase(line, end, "&quot;")) break;
  }
  length = end - start;
  const std::string address = line.substr(start, length);
  const std::string tail = line.substr(end);
  const std::string head = line.substr(0, start);
  line = head + "<A href=\"" + address + "\">" + address + "</A>" + tail;
  return static_cast<long>(length) + 15;
}

}  // namespace

std::string EscapeLine(std::string line, bool escapeSpecials) {
  const std::string tab("\x81\x40\x81\x40\x81\x40\x81\x40\x81\x40\x81\x40");
  for (std::size_t position = 0; position < line.size(); ++position) {
    if (escapeSpecials) {
      ReplaceCharAt(line, '&', "&amp;", position);
      ReplaceCharAt(line, '"', "&quot;", position);
      ReplaceCharAt(line, '<', "&lt;", position);
      ReplaceCharAt(line, '>', "&gt;", position);
    }
    ReplaceCharAt(line, '\t', tab, position);
  }
  return line;
}

std::string LinkAddresses(std::string line) {
  const std::vector<long> offsets = FindAllOccurrences(line, "http://");
  long growth = 0;
  long previousEnd = 0;  // in the line as searched
  for (std::size_t i = 0; offsets[i] >= 0; ++i) {
    if (offsets[i] < previousEnd) continue;
    std::size_t length = 0;
    growth += WrapLink(line, static_cast<std::size_t>(offsets[i] + growth), length);
    previousEnd = offsets[i] + static_cast<long>(length);
  }
  return line;
}

std::string TagLineEnd(std::string line) {
  if (!line.empty()) ReplaceCharAt(line, '\n', "<BR>\n", line.size() - 1);
  return line;
}

int WriteParagraphLine(std::string line, int paragraphState, std::string& page) {
  if (!line.empty() && line[line.size() - 1] == '\n') line.erase(line.size() - 1);
  if (line.empty()) {
    page += paragraphState == 1 ? "<P>\n" : "<BR>\n";
    return 0;
  }
  if (paragraphState == 1) page += "<BR>";
  page += "\n";
  page += line;
  return 1;
}

void Pipeline::WriteLine(std::string_view line, std::string& page) {
  std::string text = EscapeLine(std::string(line), switches_.escapeSpecials);
  if (switches_.autoLinkEnabled) text = LinkAddresses(text);
  if (switches_.lineTagsEnabled && switches_.breaksOnly) {
    page += TagLineEnd(text);
  } else if (switches_.lineTagsEnabled) {
    paragraphState_ = WriteParagraphLine(text, paragraphState_, page);
  } else {
    page += text;
  }
}

std::string PageOfText(std::string_view text, Switches switches) {
  Pipeline pipeline(switches);
  std::string page;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t lineFeed = text.find('\n', start);
    const std::size_t end = lineFeed == std::string_view::npos ? text.size() : lineFeed + 1;
    std::string line(text.substr(start, end - start));
    if (line.size() >= 2 && line.compare(line.size() - 2, 2, "\r\n") == 0) {
      line.erase(line.size() - 2, 1);
    }
    std::string linePage;
    pipeline.WriteLine(line, linePage);
    for (const char byte : linePage) {
      if (byte == '\n') page += '\r';
      page += byte;
    }
    start = end;
  }
  return page;
}

}  // namespace morvel::oracle
