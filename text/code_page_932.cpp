#include "text/code_page_932.h"

#include "text/code_page_932_table.h"
#include "text/encoding.h"
#include "text/utf16.h"
#include "text/utf8.h"

namespace morvel {

namespace {

using code_page_932_table::DOUBLE_BYTE;
using code_page_932_table::LEAD_BYTE;
using code_page_932_table::LeadIndex;
using code_page_932_table::SINGLE_BYTE;
using code_page_932_table::TrailIndex;

// Every character's form, inverted from what the sequences read as. Each character is written
// by exactly one sequence: a table that gave one two forms does not compile.
constexpr std::array<std::uint16_t, 0x10000> BuildForms() {
  std::array<std::uint16_t, 0x10000> forms{};
  forms.fill(NO_CP932_FORM);
  code_page_932_table::VisitSequences([&forms](char16_t value, unsigned code) {
    if (!code_page_932_table::IsWrittenForm(code)) return false;
    if (forms[value] != NO_CP932_FORM) throw "two forms for one character";
    forms[value] = static_cast<std::uint16_t>(code);
    return false;
  });
  return forms;
}

// The sequence at the start of `text` (not empty): what it reads as (nothing when the code
// page does not define it) and its length. A lead byte followed by a byte that can be a trail
// byte is one sequence, defined or not.
struct Sequence {
  std::optional<char32_t> value;
  std::size_t length = 1;
};

Sequence FirstSequence(std::string_view text) {
  const auto byte = static_cast<unsigned char>(text[0]);
  if (SINGLE_BYTE[byte] != LEAD_BYTE) return {SINGLE_BYTE[byte], 1};
  if (text.size() < 2) return {};
  const int trail = TrailIndex(static_cast<unsigned char>(text[1]));
  if (trail < 0) return {};
  const char16_t value = DOUBLE_BYTE[LeadIndex(byte)][trail];
  return {value != 0 ? std::optional<char32_t>(value) : std::nullopt, 2};
}

template <typename Text, typename Append>
std::optional<Text> Decode(std::string_view text, Unmapped unmapped, Append append) {
  Text result;
  result.reserve(text.size());
  while (!text.empty()) {
    const Sequence sequence = FirstSequence(text);
    if (!sequence.value && unmapped == Unmapped::Refuse) return std::nullopt;
    append(
        sequence.value.value_or(unmapped == Unmapped::QuestionMark ? U'?' : REPLACEMENT_CHARACTER),
        result);
    text.remove_prefix(sequence.length);
  }
  return result;
}

void AppendForm(std::uint16_t form, std::string& out) {
  if (form > 0xFF) out.push_back(static_cast<char>(form >> 8));
  out.push_back(static_cast<char>(form & 0xFF));
}

template <typename Text, typename First>
std::optional<std::string> Encode(Text text, Unmapped unmapped, First first) {
  std::string result;
  result.reserve(text.size());
  while (!text.empty()) {
    const auto character = first(text);
    const std::uint16_t form = character ? Cp932Form(character->value) : NO_CP932_FORM;
    if (form == NO_CP932_FORM && unmapped == Unmapped::Refuse) return std::nullopt;
    AppendForm(form == NO_CP932_FORM ? '?' : form, result);
    // What is not valid is passed over one code unit at a time.
    text.remove_prefix(character ? character->length : 1);
  }
  return result;
}

}  // namespace

namespace code_page_932_table {
constinit const std::array<std::uint16_t, 0x10000> FORMS = BuildForms();
}

std::optional<std::string> Cp932ToUtf8(std::string_view text, Unmapped unmapped) {
  return Decode<std::string>(text, unmapped, AppendUtf8);
}

std::optional<std::u16string> Cp932ToUtf16(std::string_view text, Unmapped unmapped) {
  return Decode<std::u16string>(text, unmapped, AppendUtf16);
}

std::optional<std::string> Utf8ToCp932(std::string_view text, Unmapped unmapped) {
  return Encode(text, unmapped, FirstUtf8Character);
}

std::optional<std::string> Utf16ToCp932(std::u16string_view text, Unmapped unmapped) {
  return Encode(text, unmapped, FirstUtf16Character);
}

void Cp932ToUtf8Stream::Write(std::string_view block, std::string& utf8) {
  if (block.empty()) return;
  if (!carried_.Empty()) {
    // The lead byte that ended the last block, with its trail byte when the block starts with
    // one.
    if (IsTrailByte(block[0])) carried_.FillTo(2, block);
    AppendUtf8(FirstSequence(carried_.View()).value.value_or(REPLACEMENT_CHARACTER), utf8);
    carried_.Clear();
  }
  while (!block.empty()) {
    // ASCII, most of many texts, is the same in both.
    std::size_t ascii = 0;
    while (ascii < block.size() && static_cast<unsigned char>(block[ascii]) < 0x80) ++ascii;
    utf8.append(block.substr(0, ascii));
    block.remove_prefix(ascii);
    if (block.empty()) break;
    if (block.size() == 1 && IsLeadByte(block[0])) {
      carried_.Keep(block);
      return;
    }
    const Sequence sequence = FirstSequence(block);
    AppendUtf8(sequence.value.value_or(REPLACEMENT_CHARACTER), utf8);
    block.remove_prefix(sequence.length);
  }
}

void Cp932ToUtf8Stream::Finish(std::string& utf8) {
  if (!carried_.Empty()) AppendUtf8(REPLACEMENT_CHARACTER, utf8);
  carried_.Clear();
}

bool AppendCp932OrReference(char32_t value, std::string& out) {
  const std::uint16_t form = Cp932Form(value);
  if (form == NO_CP932_FORM) {
    out += CharacterReference(value);
    return true;
  }
  AppendForm(form, out);
  return false;
}

std::optional<std::string> Utf8ToCp932WithReferences(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  while (!text.empty()) {
    const auto character = FirstUtf8Character(text);
    if (!character) return std::nullopt;
    AppendCp932OrReference(character->value, result);
    text.remove_prefix(character->length);
  }
  return result;
}

}  // namespace morvel
