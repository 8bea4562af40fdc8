#include "bench/bench_input.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>

#include "bench/sequence.h"

namespace morvel::bench {

namespace {

constexpr std::size_t TEXT_SIZE = 50 * 1000 * 1000;
constexpr std::size_t LONG_LINE_SIZE = 10 * 1000 * 1000;

std::filesystem::path Folder() {
  const auto folder = std::filesystem::temp_directory_path() / "morvel-bench";
  std::filesystem::create_directories(folder);
  return folder;
}

std::string EnginePath(const std::filesystem::path& path) {
  std::string text = path.string();
  for (char& c : text) {
    if (c == '/') c = '\\';
  }
  return text;
}

void AppendJapaneseCharacter(Sequence& random, std::string& text) {
  switch (random.Next(4)) {
    case 0:  // hiragana 0x829F-0x82F1
      text.push_back('\x82');
      text.push_back(static_cast<char>(0x9F + random.Next(0x53)));
      break;
    case 1:  // katakana 0x8340-0x8396, trail bytes that look like ASCII letters included
      text.push_back('\x83');
      text.push_back(static_cast<char>(0x40 + random.Next(0x3F)));
      break;
    default:  // kanji 0x889F-0x9FFC
      text.push_back(static_cast<char>(0x89 + random.Next(0x16)));
      text.push_back(static_cast<char>(0x40 + random.Next(0x3F)));
      break;
  }
}

// A line of prose: mostly double-byte characters and punctuation, some ASCII words and
// half-width katakana; about one line in ten indented with a tab, one in twenty with "&", "<"
// or quotes, one in fifty with an address; one line in eight is empty.
void AppendLine(Sequence& random, std::string& text) {
  if (random.Next(8) == 0) return;
  if (random.Next(10) == 0) text.push_back('\t');
  const std::uint32_t pieces = 4 + random.Next(24);
  for (std::uint32_t i = 0; i < pieces; ++i) {
    const std::uint32_t kind = random.Next(1000);
    if (kind < 800) {
      for (std::uint32_t n = 1 + random.Next(4); n > 0; --n) AppendJapaneseCharacter(random, text);
    } else if (kind < 900) {
      text.append(random.Next(2) ? "\x81\x41" : "\x81\x42");  // comma, full stop
    } else if (kind < 960) {
      text.append(random.Next(2) ? " word" : " the");
    } else if (kind < 985) {
      text.append("\xB1\xB2\xB3");  // half-width katakana
    } else if (kind < 988) {
      text.push_back('\t');
    } else if (kind < 991) {
      text.append(random.Next(2) ? " & " : " <b> \"q\"");
    } else if (kind < 992) {
      text.append(" http://www.example.com/path/page.html?a=1&b=2 ");
    } else {
      text.append(random.Next(2) ? "(1)" : "100%");
    }
  }
}

BenchInput Finish(std::string bytes, std::string_view name) {
  BenchInput input;
  input.bytes = std::move(bytes);
  const auto path = Folder() / std::string(name);
  input.posixPath = path.string();
  input.enginePath = EnginePath(path);
  std::FILE* file = std::fopen(input.posixPath.c_str(), "wb");
  if (!file || std::fwrite(input.bytes.data(), 1, input.bytes.size(), file) != input.bytes.size() ||
      std::fclose(file) != 0) {
    std::perror(input.posixPath.c_str());
    std::exit(1);
  }
  return input;
}

}  // namespace

const BenchInput& JapaneseText() {
  static const BenchInput input = [] {
    Sequence random(20020316);
    std::string text;
    text.reserve(TEXT_SIZE + 1024);
    while (text.size() < TEXT_SIZE) {
      AppendLine(random, text);
      text.append("\r\n");
    }
    return Finish(std::move(text), "japanese.txt");
  }();
  return input;
}

const BenchInput& LongLine() {
  static const BenchInput input = [] {
    constexpr std::string_view PIECE = "&\thttp://x/ ";
    std::string text;
    text.reserve(LONG_LINE_SIZE);
    while (text.size() + PIECE.size() <= LONG_LINE_SIZE) text.append(PIECE);
    return Finish(std::move(text), "long_line.txt");
  }();
  return input;
}

std::string OutputPath(std::string_view name, bool enginePath) {
  const auto path = Folder() / std::string(name);
  return enginePath ? EnginePath(path) : path.string();
}

}  // namespace morvel::bench
