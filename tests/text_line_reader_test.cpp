// The reader over every way a read can cut the input: the same text whatever the size of each
// read, always handed out in whole lines, and nothing after a 0x1A.
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

// Reads everything; each run must be whole lines: only the last may lack a final "\n".
std::string ReadAll(const std::string& bytes, std::size_t chunk) {
  ChunkedReader source(bytes, chunk);
  TextLineReader reader(source);
  std::string text;
  std::string_view lines;
  bool ended = true;
  while (reader.ReadLines(lines)) {
    EXPECT_TRUE(ended) << "a run after one that did not end a line";
    EXPECT_FALSE(lines.empty());
    ended = !lines.empty() && lines.back() == '\n';
    text.append(lines);
  }
  EXPECT_FALSE(reader.Failed());
  return text;
}

TEST(TextLineReader, SameWholeLinesWhateverTheReadSize) {
  // Longer than the first buffer, so that it has to grow, with CR LF across every cut.
  const std::string longRun = std::string(300000, 'x') + "\r";
  struct Case {
    std::string input;
    std::string text;
  };
  const std::vector<Case> cases = {
      {"", ""},
      {"a\r\nb\r\n", "a\r\nb\r\n"},
      {"a\nb", "a\nb"},
      {"a\r", "a\r"},
      {"\n\n\n", "\n\n\n"},
      {"a\r\nb\x1A"
       "c\r\n",
       "a\r\nb"},  // 0x1A ends the input
      {"\x1A"
       "a\n",
       ""},
      {std::string("a\0b\n", 4), std::string("a\0b\n", 4)},  // NUL is text
      {longRun + "\n" + longRun + "\n" + longRun, longRun + "\n" + longRun + "\n" + longRun},
  };
  for (const auto& c : cases) {
    for (const std::size_t chunk : {1u, 2u, 3u, 16u, 17u, 100000u, 1u << 20}) {
      EXPECT_EQ(ReadAll(c.input, chunk), c.text)
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
  std::string_view lines;
  ASSERT_TRUE(reader.ReadLines(lines));
  EXPECT_EQ(lines, "a\n");
  EXPECT_FALSE(reader.ReadLines(lines));  // "b" is cut off by the failure
  EXPECT_TRUE(reader.Failed());
}

}  // namespace
}  // namespace morvel
