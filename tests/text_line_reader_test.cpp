// The text-mode reader over every way a read can cut the input: the same lines whatever the
// size of each read, and lines handed out where they lie or gathered across reads.
#include "engine/text_line_reader.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace morvel {
namespace {

class ChunkedReader final : public ByteReader {
 public:
  ChunkedReader(std::string bytes, std::size_t chunk) : bytes_(std::move(bytes)), chunk_(chunk) {}
  std::optional<std::size_t> Read(char* buffer, std::size_t capacity) override {
    const std::size_t count = std::min({capacity, chunk_, bytes_.size() - position_});
    std::copy_n(bytes_.data() + position_, count, buffer);
    position_ += count;
    return count;
  }

 private:
  std::string bytes_;
  std::size_t chunk_;
  std::size_t position_ = 0;
};

std::vector<std::string> ReadAll(const std::string& bytes, std::size_t chunk) {
  ChunkedReader source(bytes, chunk);
  TextLineReader reader(source);
  std::vector<std::string> lines;
  std::string_view line;
  while (reader.ReadLine(line)) lines.emplace_back(line);
  EXPECT_FALSE(reader.Failed());
  return lines;
}

TEST(TextLineReader, SameLinesWhateverTheReadSize) {
  const std::string longRun(70000, 'x');
  struct Case {
    std::string input;
    std::vector<std::string> lines;
  };
  const std::vector<Case> cases = {
      {"", {}},
      {"a\r\nb\r\n", {"a\n", "b\n"}},
      {"a\nb", {"a\n", "b"}},
      {"a\rb\r\n", {"a\rb\n"}},  // a CR on its own is text
      {"a\r", {"a\r"}},          // also at the very end
      {"a\r\r\n\r\n", {"a\r\n", "\n"}},
      {"0123456789abcdef\r\n0123456789abcdefg\r\n", {"0123456789abcdef\n", "0123456789abcdefg\n"}},
      {"a\r\nb\x1A"
       "c\r\n",
       {"a\n", "b"}},  // 0x1A ends the input
      {"\x1A"
       "a",
       {}},
      {"\x83\x0D\x0A", {"\x83\n"}},  // line ends are bytes, whatever precedes them
      {longRun + "\r\n" + longRun, {longRun + "\n", longRun}},
  };
  for (const auto& c : cases) {
    for (const std::size_t chunk : {1u, 2u, 3u, 16u, 17u, 1u << 20}) {
      EXPECT_EQ(ReadAll(c.input, chunk), c.lines)
          << "input of " << c.input.size() << " bytes, reads of " << chunk;
    }
  }
}

TEST(TextLineReader, StopsAtAFailedRead) {
  class Failing final : public ByteReader {
   public:
    std::optional<std::size_t> Read(char* buffer, std::size_t) override {
      if (calls_++ > 0) return std::nullopt;
      buffer[0] = 'a';
      buffer[1] = '\n';
      buffer[2] = 'b';
      return 3;
    }

   private:
    int calls_ = 0;
  } source;
  TextLineReader reader(source);
  std::string_view line;
  ASSERT_TRUE(reader.ReadLine(line));
  EXPECT_EQ(line, "a\n");
  EXPECT_FALSE(reader.ReadLine(line));  // "b" is cut off by the failure
  EXPECT_TRUE(reader.Failed());
}

}  // namespace
}  // namespace morvel
