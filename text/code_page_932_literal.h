// Japanese text spelled in the sources as UTF-8 and kept in the binary as code page 932 bytes,
// converted while compiling through the product's own table, whatever the compiler and its
// execution character set:
//
//   inline constexpr std::string_view GREETING = Cp932<u8"こんにちは">;
//
// A u8"..." literal is UTF-8 under every compiler. A character without a code page 932 form
// does not compile. The bytes are followed by a NUL that the view leaves out.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>

#include "text/code_page_932_table.h"
#include "text/utf8.h"

namespace morvel {

namespace code_page_932_literal {

// A u8"..." literal as a template argument; `N` counts its terminating NUL.
template <std::size_t N>
struct Utf8Literal {
  char units[N] = {};
  consteval Utf8Literal(const char8_t (&text)[N]) {
    for (std::size_t i = 0; i < N; ++i) units[i] = static_cast<char>(text[i]);
  }
  constexpr std::string_view View() const { return {units, N - 1}; }
};

// Calls `take(value)` for each character of `text`, known to be valid UTF-8.
template <typename Take>
constexpr void ForEachCharacter(std::string_view text, Take take) {
  while (!text.empty()) {
    const Utf8Character character = *FirstUtf8Character(text);
    take(character.value);
    text.remove_prefix(character.length);
  }
}

template <Utf8Literal TEXT>
constexpr std::size_t CharacterCount() {
  std::size_t count = 0;
  ForEachCharacter(TEXT.View(), [&count](char32_t) { ++count; });
  return count;
}

template <Utf8Literal TEXT>
inline constexpr auto CHARACTERS = [] {
  std::array<char32_t, CharacterCount<TEXT>()> characters{};
  std::size_t next = 0;
  ForEachCharacter(TEXT.View(), [&](char32_t value) { characters[next++] = value; });
  return characters;
}();

// The sequence written for `value`, searched once per character and translation unit.
template <char32_t VALUE>
inline constexpr std::uint16_t FORM = [] {
  unsigned form = 0;
  const bool found = code_page_932_table::VisitSequences([&form](char16_t value, unsigned code) {
    if (value != VALUE || !code_page_932_table::IsWrittenForm(code)) return false;
    form = code;
    return true;
  });
  if (!found) throw "a character of the literal has no code page 932 form";
  return static_cast<std::uint16_t>(form);
}();

constexpr std::size_t FormLength(std::uint16_t form) { return form > 0xFF ? 2 : 1; }

template <Utf8Literal TEXT, std::size_t... I>
constexpr auto Encode(std::index_sequence<I...>) {
  constexpr std::uint16_t forms[] = {FORM<CHARACTERS<TEXT>[I]>..., 0};
  std::array<char, (FormLength(FORM<CHARACTERS<TEXT>[I]>) + ... + 1)> bytes{};
  std::size_t next = 0;
  for (std::size_t i = 0; i + 1 < std::size(forms); ++i) {
    if (FormLength(forms[i]) == 2) bytes[next++] = static_cast<char>(forms[i] >> 8);
    bytes[next++] = static_cast<char>(forms[i] & 0xFF);
  }
  return bytes;
}

template <Utf8Literal TEXT>
inline constexpr auto BYTES = Encode<TEXT>(std::make_index_sequence<CHARACTERS<TEXT>.size()>());

}  // namespace code_page_932_literal

template <code_page_932_literal::Utf8Literal TEXT>
inline constexpr std::string_view Cp932{code_page_932_literal::BYTES<TEXT>.data(),
                                        code_page_932_literal::BYTES<TEXT>.size() - 1};

}  // namespace morvel
