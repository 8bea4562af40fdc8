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

// The same for UTF-8 `text`; nothing too when `text` is not UTF-8.
std::optional<std::string> Utf8ToCodePage932(std::string_view text);

// `wide` as code page 932 bytes for the page's title: each character code page 932 has no
// exact form for becomes a decimal numeric character reference ("&#9731;").
std::string ToCodePage932WithReferences(std::wstring_view wide);

// Code page 932 `path` as UTF-16 for the W file functions; empty when `path` holds a byte
// sequence code page 932 does not define.
std::wstring WidePath(std::string_view path);

// `path`, relative to the current folder or not, as a full path; nothing when it cannot be
// made one.
std::optional<std::wstring> FullPath(const std::wstring& path);

}  // namespace morvel
