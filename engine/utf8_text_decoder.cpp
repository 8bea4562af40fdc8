#include "engine/utf8_text_decoder.h"

#include "text/utf8.h"

namespace morvel {

namespace {

constexpr char32_t BYTE_ORDER_MARK = 0xFEFF;

std::uint8_t Byte(std::string_view text, std::size_t i) {
  return static_cast<std::uint8_t>(text[i]);
}

}  // namespace

std::string_view Utf8TextDecoder::FormOf(char32_t codePoint, std::string_view character) {
  // Code page 932 holds no character past U+FFFF.
  if (codePoint > 0xFFFF) return {};
  std::uint16_t& form = forms_[codePoint];
  if (form == UNKNOWN) {
    const auto converted = encoder_.ToCodePage932(character);
    form = !converted || converted->empty() || converted->size() > 2
               ? LACKING
               : static_cast<std::uint16_t>(Byte(*converted, 0) << 8 |
                                            (converted->size() == 2 ? Byte(*converted, 1) : 0));
  }
  if (form == LACKING) return {};
  formBytes_[0] = static_cast<char>(form >> 8);
  formBytes_[1] = static_cast<char>(form & 0xFF);
  return {formBytes_, (form & 0xFF) != 0 ? 2u : 1u};
}

void Utf8TextDecoder::Put(const Utf8Character& character, std::string_view bytes) {
  if (atStart_) {
    atStart_ = false;
    if (character.value == BYTE_ORDER_MARK) return;
  }
  if (const std::string_view form = FormOf(character.value, bytes); !form.empty()) {
    converted_.append(form);
    return;
  }
  Flush();
  sink_.WriteReference(CharacterReference(character.value));
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
      Put(*character, pending_);
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
      atStart_ = false;
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
    Put(*character, rest.substr(0, character->length));
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
