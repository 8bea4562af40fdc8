#include "engine/utf8_text_decoder.h"

#include <cstdint>

namespace morvel {

namespace {

constexpr std::string_view BYTE_ORDER_MARK = "\xEF\xBB\xBF";

std::uint8_t At(std::string_view text, std::size_t i) { return static_cast<std::uint8_t>(text[i]); }

// What starts `text`: a UTF-8 character of `length` bytes, or (`length` 0) bytes that can never
// make one, or (`cutOff`) a valid start of one that `text` ends too soon to finish.
struct CharacterScan {
  std::size_t length = 0;
  bool cutOff = false;
};

CharacterScan ScanCharacter(std::string_view text) {
  const std::uint8_t lead = At(text, 0);
  if (lead < 0x80) return {1};
  std::size_t length = 0;
  std::uint8_t low = 0x80, high = 0xBF;  // the range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // no overlong forms
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;  // nothing past U+10FFFF
  } else {
    return {0};
  }
  for (std::size_t i = 1; i < length; ++i) {
    if (i >= text.size()) return {0, true};
    const std::uint8_t byte = At(text, i);
    if (byte < (i == 1 ? low : 0x80) || byte > (i == 1 ? high : 0xBF)) return {0};
  }
  return {length};
}

// The length of the valid UTF-8 at the start of `text`; `scan` says what stopped it.
std::size_t Utf8Prefix(std::string_view text, CharacterScan& scan) {
  std::size_t at = 0;
  while (at < text.size()) {
    // Runs of ASCII are the common case: skip them a byte at a time without a full scan.
    if (At(text, at) < 0x80) {
      ++at;
      continue;
    }
    scan = ScanCharacter(text.substr(at));
    if (scan.length == 0) return at;
    at += scan.length;
  }
  scan = {};
  return at;
}

char32_t CodePoint(std::string_view character) {
  const std::uint8_t lead = At(character, 0);
  if (character.size() == 1) return lead;
  char32_t value = lead & (0xFF >> (character.size() + 1));
  for (std::size_t i = 1; i < character.size(); ++i)
    value = (value << 6) | (At(character, i) & 0x3F);
  return value;
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
               : static_cast<std::uint16_t>(At(*converted, 0) << 8 |
                                            (converted->size() == 2 ? At(*converted, 1) : 0));
  }
  if (form == LACKING) return {};
  formBytes_[0] = static_cast<char>(form >> 8);
  formBytes_[1] = static_cast<char>(form & 0xFF);
  return {formBytes_, (form & 0xFF) != 0 ? 2u : 1u};
}

void Utf8TextDecoder::WriteValid(std::string_view text) {
  if (atStart_ && !text.empty()) {
    if (text.starts_with(BYTE_ORDER_MARK)) text.remove_prefix(BYTE_ORDER_MARK.size());
    atStart_ = false;
  }
  converted_.clear();
  for (std::size_t at = 0; at < text.size();) {
    const char byte = text[at];
    if (At(text, at) < 0x80) {
      if (byte == '\n') ++lines_;
      converted_.push_back(byte);
      ++at;
      continue;
    }
    const std::string_view character = text.substr(at, ScanCharacter(text.substr(at)).length);
    const char32_t codePoint = CodePoint(character);
    if (const std::string_view form = FormOf(codePoint, character); !form.empty()) {
      converted_.append(form);
    } else {
      if (!converted_.empty()) sink_.Write(converted_);
      converted_.clear();
      sink_.WriteReference("&#" + std::to_string(codePoint) + ";");
    }
    at += character.size();
  }
  if (!converted_.empty()) sink_.Write(converted_);
}

bool Utf8TextDecoder::CompletePending(std::string_view& block) {
  while (!block.empty()) {
    pending_.push_back(block.front());
    block.remove_prefix(1);
    const CharacterScan scan = ScanCharacter(pending_);
    if (scan.cutOff) continue;
    if (scan.length == 0) return false;
    WriteValid(pending_);
    pending_.clear();
    return true;
  }
  return true;
}

bool Utf8TextDecoder::Write(std::string_view block) {
  if (failed_) return false;
  if (!pending_.empty() && !CompletePending(block)) return !(failed_ = true);
  if (block.empty()) return true;
  CharacterScan scan;
  const std::size_t valid = Utf8Prefix(block, scan);
  WriteValid(block.substr(0, valid));
  if (valid == block.size()) return true;
  if (!scan.cutOff) return !(failed_ = true);
  pending_.assign(block.substr(valid));
  return true;
}

bool Utf8TextDecoder::Finish() {
  if (!pending_.empty()) failed_ = true;
  return !failed_;
}

}  // namespace morvel
