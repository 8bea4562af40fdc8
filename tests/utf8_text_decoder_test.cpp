// UTF-8 input through the code page 932 table into a recording sink, whole and
// cut at every byte: the bytes written, the references, and where invalid input stops it.
#include "text/utf8_text_decoder.h"

#include <gtest/gtest.h>

namespace morvel {
namespace {

// Text and references in the order they came; a reference shows as "{&#N;}".
class RecordingSink final : public Sink {
 public:
  void Write(std::string_view block) override {
    EXPECT_FALSE(block.empty());
    record.append(block);
  }
  void WriteReference(std::string_view reference) override {
    record.append("{").append(reference).append("}");
  }
  std::string record;
};

std::string Utf8(std::u8string_view text) { return {text.begin(), text.end()}; }

struct DecodeCase {
  std::u8string_view input;  // UTF-8, or bytes that are not
  std::string_view written;  // code page 932 bytes and references
  std::size_t invalidLine;   // 0 when the input is valid
};

// Decodes `input` given as the blocks `input` splits into at `cuts`; the recorded text, and
// the invalid line or 0.
std::pair<std::string, std::size_t> Decode(std::string_view input,
                                           const std::vector<std::size_t>& cuts) {
  RecordingSink sink;
  Utf8TextDecoder decoder(sink);
  std::size_t from = 0;
  bool valid = true;
  for (std::size_t cut : cuts) {
    valid = decoder.Write(input.substr(from, cut - from)) && valid;
    from = cut;
  }
  valid = decoder.Write(input.substr(from)) && valid;
  valid = decoder.Finish() && valid;
  return {sink.record, valid ? 0 : decoder.InvalidLine()};
}

TEST(Utf8TextDecoder, WritesCodePage932AndReferencesWhereverTheInputIsCut) {
  const std::vector<DecodeCase> cases = {
      {u8"雪☃ Café\r\n", "雪{&#9731;} Caf{&#233;}\r\n", 0},
      {u8"http://a/☃b", "http://a/{&#9731;}b", 0},
      // A mark is dropped before the text reaches the decoder: here U+FEFF is a character.
      {u8"\uFEFFa\uFEFF", "{&#65279;}a{&#65279;}", 0},
      // A code page 932 form that reads back as another character is not exact.
      {u8"¥〜～−－", "{&#165;}{&#12316;}～{&#8722;}－", 0},
      {u8"😀x表ｱ\t&<", "{&#128512;}x表ｱ\t&<", 0},
      {u8"", "", 0},
      // Invalid: the text before the first bad byte is written, the line is named.
      {u8"ab\n\xFF", "ab\n", 2},
      {u8"\u3042\n\n\xC0\x80", "あ\n\n", 3},  // overlong
      {u8"x\xED\xA0\x80", "x", 1},            // surrogate
      {u8"\xF4\x90\x80\x80", "", 1},          // past U+10FFFF
      {u8"\x80", "", 1},                      // stray continuation
      {u8"\xE3\x81\x61\n", "", 1},            // missing continuation
      {u8"a\nb\nc\xE3\x81", "a\nb\nc", 3},    // cut off by the end
      {u8"a\n\xF4\n", "a\n", 2},              // a line feed after a lead byte
      {u8"\xEF\xBB", "", 1},
  };
  for (const auto& c : cases) {
    const std::string input = Utf8(c.input);
    SCOPED_TRACE(::testing::PrintToString(input));
    const auto [whole, line] = Decode(input, {});
    EXPECT_EQ(whole, c.written);
    EXPECT_EQ(line, c.invalidLine);
    std::vector<std::size_t> everyByte;
    for (std::size_t cut = 1; cut < input.size(); ++cut) {
      EXPECT_EQ(Decode(input, {cut}), std::pair(whole, line)) << "cut at " << cut;
      everyByte.push_back(cut);
    }
    EXPECT_EQ(Decode(input, everyByte), std::pair(whole, line)) << "byte by byte";
  }
}

}  // namespace
}  // namespace morvel
