#include "text/utf8_text_decoder.h"

#include "text/code_page_932.h"
#include "text/utf8.h"

namespace morvel {

void Utf8TextDecoder::Put(char32_t value) {
  const std::size_t before = converted_.size();
  if (!AppendCp932OrReference(value, converted_)) return;
  // A reference reaches the sink as one, after the text before it.
  const std::string reference = converted_.substr(before);
  converted_.resize(before);
  Flush();
  sink_.WriteReference(reference);
}

void Utf8TextDecoder::Flush() {
  if (!converted_.empty()) sink_.Write(converted_);
  converted_.clear();
}

bool Utf8TextDecoder::CompleteCarried(std::string_view& block) {
  if (!carried_.FillTo(Utf8SequenceLength(carried_.View()[0]), block)) return true;
  const auto character = FirstUtf8Character(carried_.View());
  carried_.Clear();
  if (!character) return false;
  Put(character->value);
  return true;
}

bool Utf8TextDecoder::Fail(std::string_view block, std::size_t at) {
  Flush();
  lines_.Pass(block.substr(0, at));
  failed_ = true;
  return false;
}

bool Utf8TextDecoder::Write(std::string_view block) {
  if (failed_) return false;
  // (A line feed taken into a carried character leaves the line its first byte stands on.)
  if (!carried_.Empty() && !CompleteCarried(block)) return Fail({}, 0);
  for (std::size_t at = 0; at < block.size();) {
    // ASCII is the same in both encodings: copied as it stands.
    std::size_t ascii = at;
    while (ascii < block.size() && static_cast<unsigned char>(block[ascii]) < 0x80) ++ascii;
    converted_.append(block.substr(at, ascii - at));
    at = ascii;
    if (at == block.size()) break;
    const std::string_view rest = block.substr(at);
    const auto character = FirstUtf8Character(rest);
    if (!character) {
      // The start of a character that the next block may finish.
      if (rest.size() < Utf8SequenceLength(rest[0])) {
        Flush();
        lines_.Pass(block.substr(0, at));
        carried_.Keep(rest);
        return true;
      }
      return Fail(block, at);
    }
    Put(character->value);
    at += character->length;
  }
  Flush();
  lines_.Pass(block);
  return true;
}

bool Utf8TextDecoder::Finish() {
  if (!carried_.Empty()) failed_ = true;
  return !failed_;
}

}  // namespace morvel
