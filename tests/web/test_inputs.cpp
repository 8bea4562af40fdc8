// Writes the texts that the web page's browser tests convert into the folder named by its
// argument, and their list, cases.json: every golden case's text in code page 932, and in UTF-8
// and UTF-16 where it differs from the code page 932 text (the worked example with a UTF-8 mark
// and in both UTF-16s), with the case's switches and title, and for a case with the update box,
// the page it gives at 9:05 on 16 March 2002; then texts whose encoding is settled late, two
// that are refused, and a picture.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "tests/golden/case_format.h"
#include "tests/golden/embedded_cases.h"
#include "tests/oracle/utf8_page.h"
#include "text/utf16.h"

namespace morvel {
namespace {

struct Entry {
  std::string file;
  ConversionOptions options;
  std::string title;
  std::string page;  // the file of the page expected at the fixed time; empty for none
  bool refused = false;
};

std::string JsonText(std::string_view text) {
  std::string json = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      json.push_back('\\');
      json.push_back(c);
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04X", static_cast<unsigned char>(c));
      json += escaped;
    } else {
      json.push_back(c);
    }
  }
  return json + "\"";
}

std::string JsonEntry(const Entry& entry) {
  const ConversionOptions& o = entry.options;
  const auto flag = [](bool on) { return on ? "true" : "false"; };
  std::string json = "{\"file\": " + JsonText(entry.file);
  json += ", \"title\": " + JsonText(entry.title);
  json += std::string(", \"stamp\": ") + flag(o.stampEnabled);
  json += std::string(", \"kanji\": ") + flag(o.stampStyle == StampStyle::Kanji);
  json += std::string(", \"tags\": ") + flag(o.lineTagsEnabled);
  json += std::string(", \"br\": ") + flag(o.lineTagMode == LineTagMode::BreaksOnly);
  json += std::string(", \"links\": ") + flag(o.autoLinkEnabled);
  json += std::string(", \"escape\": ") + flag(o.escapeSpecials);
  json += std::string(", \"refused\": ") + flag(entry.refused);
  if (!entry.page.empty()) json += ", \"page\": " + JsonText(entry.page);
  return json + "}";
}

Entry Text(std::string file, const ConversionOptions& options, std::string title,
           bool refused = false) {
  Entry entry;
  entry.refused = refused;
  entry.file = std::move(file);
  entry.options = options;
  entry.title = std::move(title);
  return entry;
}

bool WriteFile(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

// UTF-8 `text` as UTF-16 with its mark, little- or big-endian.
std::string Utf16WithMark(std::string_view text, bool bigEndian) {
  const std::u16string units = *Utf8ToUtf16(text);
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (const char16_t unit : units) {
    const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
    bytes.push_back(bigEndian ? high : low);
    bytes.push_back(bigEndian ? low : high);
  }
  return bytes;
}

// `lines` lines of ASCII, about 70 bytes each.
std::string AsciiLines(int lines) {
  std::string text;
  for (int i = 0; i < lines; ++i) {
    text += "line " + std::to_string(i) + ": the quick brown fox jumps over the lazy dog\r\n";
  }
  return text;
}

}  // namespace
}  // namespace morvel

int main(int argc, char** argv) {
  using namespace morvel;
  if (argc != 2) {
    std::cerr << "usage: " << argv[0] << " FOLDER\n";
    return 2;
  }
  const std::string folder = std::string(argv[1]) + "/";
  std::vector<Entry> entries;
  bool written = true;
  const auto add = [&](Entry entry, std::string_view bytes) {
    written = WriteFile(folder + entry.file, bytes) && written;
    entries.push_back(std::move(entry));
  };

  for (const auto& embedded : golden::EmbeddedCases()) {
    std::string error;
    const auto golden = golden::ParseCase(embedded.text, error);
    if (!golden) {
      std::cerr << embedded.name << ": " << error << "\n";
      return 1;
    }
    const std::string name(embedded.name.substr(0, embedded.name.find('.')));
    Entry cp932 = Text(name + ".cp932.txt", golden->options, golden->title);
    if (golden->options.stampEnabled) {
      cp932.page = name + ".cp932.page";
      written = WriteFile(folder + cp932.page, golden->page) && written;
    }
    add(cp932, golden->input);
    const auto utf8 = oracle::CodePage932ToUtf8(golden->input);
    if (!utf8) continue;
    // (Without a mark, a text of ASCII alone is code page 932 text.)
    if (*utf8 != golden->input) {
      add(Text(name + ".utf8.txt", golden->options, golden->title), *utf8);
      add(Text(name + ".utf16le.txt", golden->options, golden->title), Utf16WithMark(*utf8, false));
    } else if (name == "worked_example") {
      add(Text(name + ".utf8mark.txt", golden->options, golden->title), "\xEF\xBB\xBF" + *utf8);
      add(Text(name + ".utf16le.txt", golden->options, golden->title), Utf16WithMark(*utf8, false));
      add(Text(name + ".utf16be.txt", golden->options, golden->title), Utf16WithMark(*utf8, true));
    }
  }

  const ConversionOptions defaults;
  // Past the first 64 KiB, a character that settles the encoding: UTF-8 after ASCII, and a code
  // page 932 character (0x82 0xA0) after UTF-8 (U+65E5 U+672C U+8A9E). Spelled in escapes: this
  // file's plain literals are code page 932, as the golden cases it reads.
  add(Text("settled_late_utf8.txt", defaults, "late"),
      AsciiLines(1000) + "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\r\n");
  add(Text("settled_late_cp932.txt", defaults, "late"),
      "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\r\n" + AsciiLines(1000) + "\x82\xA0\r\n");
  // Refused: a byte UTF-8 does not allow on line 3 after a UTF-8 mark, and UTF-16 with an odd
  // last byte.
  add(Text("bad_after_mark.txt", defaults, "", true),
      "\xEF\xBB\xBF"
      "one\r\ntwo\r\nthr\xFF"
      "ee\r\n");
  add(Text("odd_utf16.txt", defaults, "", true), std::string_view("\xFF\xFE"
                                                                  "a\0b\0c",
                                                                  7));
  // A picture is copied, never read: any bytes do.
  add(Text("picture.png", defaults, "picture"), std::string_view("\x89PNG\r\n\x1A\n\0\0\0\0", 12));

  std::string list = "[\n";
  for (std::size_t i = 0; i < entries.size(); ++i) {
    list += "  " + JsonEntry(entries[i]) + (i + 1 < entries.size() ? ",\n" : "\n");
  }
  list += "]\n";
  written = WriteFile(folder + "cases.json", list) && written;
  if (!written) {
    std::cerr << "could not write into " << folder << "\n";
    return 1;
  }
  return 0;
}
