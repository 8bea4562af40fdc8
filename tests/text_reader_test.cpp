// The reader over every way a read can cut the input: the same text whatever the size of each
// read, and nothing after a 0x1A.
#include "engine/text_reader.h"

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

// Reads everything; no block is empty.
std::string ReadAll(const std::string& bytes, std::size_t chunk) {
  ChunkedReader source(bytes, chunk);
  TextReader reader(source);
  std::string text;
  std::string_view block;
  while (reader.Read(block)) {
    EXPECT_FALSE(block.empty());
    text.append(block);
  }
  EXPECT_FALSE(reader.Failed());
  return text;
}

TEST(TextReader, SameTextWhateverTheReadSize) {
  // Longer than a block, with CR LF across every cut.
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

TEST(TextReader, StopsAtAFailedRead) {
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
  TextReader reader(source);
  std::string_view block;
  ASSERT_TRUE(reader.Read(block));
  EXPECT_EQ(block, "a\nb");
  EXPECT_FALSE(reader.Read(block));
  EXPECT_TRUE(reader.Failed());
}

}  // namespace
}  // namespace morvel
