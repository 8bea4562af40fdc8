// Code page 932 and Unicode, both ways, from the product's own table (code_page_932_table.inc):
// the round-trip pairs of Windows' code page 932, without best fit. Every sequence Windows
// defines reads as its character (0x80 as U+0080, 0xA0 as U+F8F0, 0xFD-0xFF as U+F8F1-U+F8F3,
// the user-defined area 0xF040-0xF9FC as U+E000-U+E757), and a character with several
// sequences is written with the one Windows writes. A character the table does not hold has no
// form: no look-alike stands in for it (U+00A5 is never "\\").
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "text/carried_bytes.h"

namespace morvel {

// A character's form: one byte (0x00XX), or a lead byte and a trail byte (0xLLTT, lead from
// 0x81); NO_CP932_FORM when it has none.
inline constexpr std::uint16_t NO_CP932_FORM = 0xFFFF;

namespace code_page_932_table {
extern const std::array<std::uint16_t, 0x10000> FORMS;  // by character up to U+FFFF
}

// The code page 932 form of `value`, the sequence that reads back as `value`, or NO_CP932_FORM.
inline std::uint16_t Cp932Form(char32_t value) {
  return value < 0x10000 ? code_page_932_table::FORMS[value] : NO_CP932_FORM;
}

// What a conversion does with what the other side cannot hold: a byte sequence code page 932
// does not define, a character without a form, or input that is not valid.
enum class Unmapped {
  Refuse,                // the text has no conversion
  QuestionMark,          // it is shown as "?" (for text a person reads, never for names or pages)
  ReplacementCharacter,  // code page 932 into a page: U+FFFD, as a browser shows it
};

// Code page 932 `text` as UTF-8 or UTF-16. Nothing, with Unmapped::Refuse, when it holds a
// sequence code page 932 does not define (a lead byte at its end included).
std::optional<std::string> Cp932ToUtf8(std::string_view text, Unmapped unmapped = Unmapped::Refuse);
std::optional<std::u16string> Cp932ToUtf16(std::string_view text,
                                           Unmapped unmapped = Unmapped::Refuse);

// Code page 932 text as UTF-8 as it streams in, in blocks cut anywhere (between a lead byte and
// its trail byte included). A sequence code page 932 does not define becomes U+FFFD: a lead byte
// and a byte that can trail it as one sequence, as Cp932ToUtf8() reads them; a lead byte that no
// such byte follows (a line end, the end of the text) alone.
class Cp932ToUtf8Stream {
 public:
  // Appends the UTF-8 of the whole characters of `block`; a lead byte at its end waits for the
  // next one.
  void Write(std::string_view block, std::string& utf8);
  // The end of the text: a lead byte still waiting becomes U+FFFD.
  void Finish(std::string& utf8);

 private:
  CarriedBytes carried_;  // a lead byte that ended the last block
};

// The exact code page 932 form of UTF-8 or UTF-16 `text`. Nothing, with Unmapped::Refuse, when
// it is not valid (a lone surrogate in UTF-16) or holds a character without a form.
std::optional<std::string> Utf8ToCp932(std::string_view text, Unmapped unmapped = Unmapped::Refuse);
std::optional<std::string> Utf16ToCp932(std::u16string_view text,
                                        Unmapped unmapped = Unmapped::Refuse);

// The one rule for characters written into a page: `value` as its code page 932 form when it
// has one, otherwise as its decimal numeric character reference ("&#9731;" for U+2603).
// Appends to `out`; true when what it appended is a reference.
bool AppendCp932OrReference(char32_t value, std::string& out);

// UTF-8 `text` for a place in the page where markup is read (the title): every character
// through AppendCp932OrReference, nothing else escaped ("<" and "&" stay as they are). Nothing
// when `text` is not valid UTF-8.
std::optional<std::string> Utf8ToCp932WithReferences(std::string_view text);

}  // namespace morvel
