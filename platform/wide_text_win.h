// Conversion between the engine's code page 932 bytes and the UTF-16 that Windows' W
// functions take, independent of the system's ANSI code page.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace morvel {

inline constexpr unsigned ENGINE_CODE_PAGE = 932;

// `text` in `codePage` as UTF-16; with `flags` MB_ERR_INVALID_CHARS, empty when `text` holds a
// sequence the code page does not define.
std::wstring Widen(std::string_view text, unsigned codePage = ENGINE_CODE_PAGE,
                   unsigned long flags = 0);

// `wide` in `codePage`, with that code page's stand-in for what it cannot hold.
std::string Narrow(std::wstring_view wide, unsigned codePage);

// Code page 932 bytes, or nothing when a character has no exact code page 932 form (no
// best-fit or default characters: a stand-in "?" would be a wildcard in a path).
std::optional<std::string> ToCodePage932(std::wstring_view wide);

}  // namespace morvel
