#include "engine/utf8_text_decoder.h"

#include <cstdint>

#include "text/code_page_932.h"
#include "text/utf8.h"

namespace morvel {

namespace {

std::uint8_t Byte(std::string_view text, std::size_t i) {
  return static_cast<std::uint8_t>(text[i]);
}

}  // namespace

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

bool Utf8TextDecoder::CompletePending(std::string_view& block) {
  while (!block.empty()) {
    pending_.push_back(block.front());
    block.remove_prefix(1);
    if (const auto character = FirstUtf8Character(pending_)) {
      Put(character->value);
      pending_.clear();
      return true;
    }
    if (pending_.size() >= Utf8SequenceLength(pending_[0])) return false;
  }
  return true;
}

bool Utf8TextDecoder::Write(std::string_view block) {
  if (failed_) return false;
  if (!pending_.empty() && !CompletePending(block)) return !(failed_ = true);
  for (std::size_t at = 0; at < block.size();) {
    if (Byte(block, at) < 0x80) {
      // ASCII is the same in both encodings: copied as it stands.
      if (block[at] == '\n') ++lines_;
      converted_.push_back(block[at]);
      ++at;
      continue;
    }
    const std::string_view rest = block.substr(at);
    const auto character = FirstUtf8Character(rest);
    if (!character) {
      Flush();
      // The start of a character that the next block may finish.
      if (rest.size() < Utf8SequenceLength(rest[0])) {
        pending_.assign(rest);
        return true;
      }
      return !(failed_ = true);
    }
    Put(character->value);
    at += character->length;
  }
  Flush();
  return true;
}

bool Utf8TextDecoder::Finish() {
  if (!pending_.empty()) failed_ = true;
  return !failed_;
}

}  // namespace morvel
