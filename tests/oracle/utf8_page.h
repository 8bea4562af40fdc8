// A slow reference for the UTF-8 page of a text that code page 932 can spell: that text's code
// page 932 page re-encoded in UTF-8, with the two META elements that declare it standing right
// after <HEAD>. Its one borrowing from the product is the code page 932 table, which has a test of
// its own over every character.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace morvel::oracle {

// What stands right after <HEAD> in a UTF-8 page.
inline constexpr std::string_view UTF8_PAGE_META =
    "<META charset=\"UTF-8\">"
    "<META name=\"viewport\" content=\"width=device-width, initial-scale=1\">";

// Code page 932 bytes as UTF-8, or nothing for bytes that are not code page 932 text. Use it to
// make the UTF-8 form of a code page 932 text too, so that both sides of a comparison read code
// page 932 alike.
std::optional<std::string> CodePage932ToUtf8(std::string_view bytes);

// `page` (a code page 932 page) re-encoded in UTF-8 with UTF8_PAGE_META inserted right after
// its first "<HEAD>", and its "<HTML>" naming lang="ja" when `japanese`; nothing when it has no
// "<HEAD>" or cannot be decoded.
std::optional<std::string> Utf8PageOf(std::string_view page, bool japanese = false);

// True when UTF-8 `text` holds hiragana, katakana or half-width katakana in its first 64 KiB.
bool HoldsKana(std::string_view text);

}  // namespace morvel::oracle
