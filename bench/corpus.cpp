// Writes the inputs that bench/compare.sh times, the same bytes on every run:
//
//   morvel_corpus prose BYTES FILE
//     Japanese prose in code page 932, CR LF line ends: lines of 20 to 200 bytes of kanji,
//     kana, full-width punctuation, some ASCII words and half-width katakana, with tabs,
//     "&", "<", ">" and '"' here and there, an address "http://example.com/path/N" in about
//     one line in ten, and an empty line after every paragraph. Stops at the first line end
//     at or past BYTES.
//
//   morvel_corpus long LINES LINE_BYTES FILE
//     LINES lines of LINE_BYTES bytes each (CR LF not counted) made of "&", tabs and
//     "http://x/ " addresses: every byte asks for an entity, a tab expansion or a link.
//
//   morvel_corpus repeat BYTES PIECE FILE
//     One line without a line end: PIECE over and over, BYTES bytes in all (the last PIECE cut
//     short when it does not fit).
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>
#include <string_view>
#include <system_error>

#include "bench/sequence.h"

namespace {

using morvel::bench::Sequence;

void Push(std::string& text, unsigned lead, unsigned trail) {
  text.push_back(static_cast<char>(lead));
  text.push_back(static_cast<char>(trail));
}

// A trail byte anywhere in 0x40-0xFC except 0x7F: "\" (0x5C) and ASCII letters included, as
// in real text ("ソ" is 0x83 0x5C, "表" is 0x95 0x5C).
unsigned Trail(Sequence& random) {
  const unsigned trail = 0x40 + random.Next(0xBC);
  return trail >= 0x7F ? trail + 1 : trail;
}

// One double-byte character: hiragana, katakana or a kanji of either JIS level.
void AppendKanjiOrKana(Sequence& random, std::string& text) {
  const std::uint32_t kind = random.Next(10);
  if (kind < 3) {
    Push(text, 0x82, 0x9F + random.Next(0x53));  // hiragana 0x829F-0x82F1
  } else if (kind < 5) {
    const unsigned trail = 0x40 + random.Next(0x56);  // katakana 0x8340-0x8396
    Push(text, 0x83, trail >= 0x7F ? trail + 1 : trail);
  } else if (kind < 9) {
    // Level 1 kanji 0x889F-0x9872, kept to whole rows 0x89-0x97.
    Push(text, 0x89 + random.Next(0x0F), Trail(random));
  } else {
    // Level 2 kanji, rows 0x99-0x9F and 0xE0-0xE9.
    const unsigned row = random.Next(17);
    Push(text, row < 7 ? 0x99 + row : 0xE0 + (row - 7), Trail(random));
  }
}

constexpr std::string_view WORDS[] = {"the", "Windows", "OK",     "HTML", "version",
                                      "2.1", "CD-ROM",  "e-mail", "FAQ",  "No.5"};

// Full-width punctuation: 、 。 「 」 ・ ー ！ ？
constexpr std::string_view PUNCTUATION[] = {"\x81\x41", "\x81\x42", "\x81\x75", "\x81\x76",
                                            "\x81\x45", "\x81\x5B", "\x81\x49", "\x81\x48"};

// Pieces of at most 40 bytes are added until the line reaches a length drawn from 20-160, so
// every line ends up between 20 and 200 bytes.
void AppendProseLine(Sequence& random, std::string& text, std::uint64_t& addresses) {
  const std::size_t start = text.size();
  const std::size_t target = 20 + random.Next(141);
  if (random.Next(12) == 0) text.push_back('\t');
  const bool address = random.Next(10) == 0;
  const std::size_t addressAt = target / 2;
  bool addressDone = false;
  while (text.size() - start < target) {
    if (address && !addressDone && text.size() - start >= addressAt) {
      text.append(" http://example.com/path/");
      text.append(std::to_string(++addresses));
      text.push_back(' ');
      addressDone = true;
      continue;
    }
    const std::uint32_t kind = random.Next(1000);
    if (kind < 780) {
      for (std::uint32_t n = 1 + random.Next(6); n > 0; --n) AppendKanjiOrKana(random, text);
    } else if (kind < 880) {
      text.append(PUNCTUATION[random.Next(std::size(PUNCTUATION))]);
    } else if (kind < 940) {
      text.push_back(' ');
      text.append(WORDS[random.Next(std::size(WORDS))]);
      text.push_back(' ');
    } else if (kind < 960) {
      for (std::uint32_t n = 2 + random.Next(4); n > 0; --n)
        text.push_back(static_cast<char>(0xA6 + random.Next(0x3A)));  // half-width katakana
    } else if (kind < 972) {
      text.push_back('\t');
    } else if (kind < 980) {
      text.append(" & ");
    } else if (kind < 986) {
      text.append("<b>");
    } else if (kind < 990) {
      text.append(" -> ");
    } else {
      text.append(" \"OK\" ");
    }
  }
  text.append("\r\n");
}

std::string Prose(std::size_t size) {
  Sequence random(19930111);
  std::string text;
  text.reserve(size + 256);
  std::uint64_t addresses = 0;
  while (text.size() < size) {
    for (std::uint32_t n = 1 + random.Next(8); n > 0 && text.size() < size; --n)
      AppendProseLine(random, text, addresses);
    text.append("\r\n");
  }
  return text;
}

std::string LongLines(std::size_t lines, std::size_t lineSize) {
  // Runs of "&", tabs at varying columns and addresses that end at a space.
  constexpr std::string_view PATTERN = "&&\thttp://x/ &\t&&&http://x/ \t&http://x/ &";
  std::string text;
  text.reserve(lines * (lineSize + 2));
  for (std::size_t line = 0; line < lines; ++line) {
    for (std::size_t i = 0; i < lineSize; ++i) text.push_back(PATTERN[i % PATTERN.size()]);
    text.append("\r\n");
  }
  return text;
}

std::string Repeated(std::size_t size, std::string_view piece) {
  std::string text;
  text.reserve(size);
  while (text.size() < size) text.append(piece.substr(0, size - text.size()));
  return text;
}

bool Number(const char* text, std::size_t& value) {
  const std::string_view view(text);
  const auto [end, error] = std::from_chars(view.data(), view.data() + view.size(), value);
  return error == std::errc() && end == view.data() + view.size() && value > 0;
}

int Usage() {
  std::fputs(
      "usage: morvel_corpus prose BYTES FILE\n"
      "       morvel_corpus long LINES LINE_BYTES FILE\n"
      "       morvel_corpus repeat BYTES PIECE FILE\n",
      stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::string text;
  const char* path = nullptr;
  const std::string_view mode = argc > 1 ? argv[1] : "";
  std::size_t a = 0;
  std::size_t b = 0;
  if (mode == "prose" && argc == 4 && Number(argv[2], a)) {
    text = Prose(a);
    path = argv[3];
  } else if (mode == "long" && argc == 5 && Number(argv[2], a) && Number(argv[3], b)) {
    text = LongLines(a, b);
    path = argv[4];
  } else if (mode == "repeat" && argc == 5 && Number(argv[2], a) && argv[3][0] != '\0') {
    text = Repeated(a, argv[3]);
    path = argv[4];
  } else {
    return Usage();
  }
  std::FILE* file = std::fopen(path, "wb");
  if (!file || std::fwrite(text.data(), 1, text.size(), file) != text.size() ||
      std::fclose(file) != 0) {
    std::perror(path);
    return 1;
  }
  return 0;
}
