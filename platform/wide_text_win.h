// The engine's code page 932 bytes and UTF-8 as the UTF-16 that Windows' W functions take, and
// back, through the product's own tables (text/code_page_932.h, text/utf16.h): the system's
// code pages decide nothing.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace morvel {

// Code page 932 `text` as UTF-16 to show; a sequence code page 932 does not define shows as
// "?".
std::wstring Widen(std::string_view text);

// Code page 932 bytes, or nothing when a character has no exact code page 932 form (no
// stand-in: "?" would be a wildcard in a path) or `wide` holds a lone surrogate.
std::optional<std::string> ToCodePage932(std::wstring_view wide);

// Code page 932 `path` as UTF-16 for the W file functions; empty when `path` holds a byte
// sequence code page 932 does not define.
std::wstring WidePath(std::string_view path);

// UTF-8 `text` as UTF-16; nothing when it is not UTF-8.
std::optional<std::wstring> WidenUtf8(std::string_view text);

// `wide` as UTF-8; a lone surrogate becomes U+FFFD.
std::string NarrowToUtf8(std::wstring_view wide);

// `wide` in `codePage` for a person to read: code page 932 through the product's table, with
// "?" for a character that has no form there; any other code page through the system's
// conversion, with its stand-ins.
std::string NarrowToRead(std::wstring_view wide, unsigned codePage);

// `path`, relative to the current folder or not, as a full path; nothing when it cannot be
// made one.
std::optional<std::wstring> FullPath(const std::wstring& path);

}  // namespace morvel
