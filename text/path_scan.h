// Scans over paths in the engine's vocabulary: code page 932 bytes, "\\" the only folder
// separator. Every scan walks characters, not bytes: a lead byte and the byte after it are one
// character, so the trail byte of "ソ" (0x83 0x5C) is never a separator and that of "ポ"
// (0x83 0x7C) is never "|".
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace morvel {

// Position of the last single-byte "\\" in `path`, or nothing.
std::optional<std::size_t> LastSeparator(std::string_view path);

// The bytes after the last "\\" (the whole path when there is none).
std::string_view FileNamePart(std::string_view path);

// The bytes before the last "\\" (empty when there is none).
std::string_view FolderPart(std::string_view path);

// Position of the "." that starts the extension: the last single-byte "." in the file-name
// part. Nothing when the file-name part holds no ".".
std::optional<std::size_t> ExtensionDot(std::string_view path);

// Equality with "a"-"z" folded onto "A"-"Z" in single-byte characters only; the bytes of a
// double-byte character must be identical ("ア" 0x83 0x41 and "ヂ" 0x83 0x61 differ). Without
// `foldCase` (a file system that tells case apart), plain equality.
bool SamePathText(std::string_view a, std::string_view b, bool foldCase = true);

// `path` with that folding applied: two paths are SamePathText exactly when their folded texts
// are equal, so the folded text can key a map of paths.
std::string FoldedPathText(std::string_view path, bool foldCase = true);

// The characters a file name may not hold, in the order the user is told them.
inline constexpr std::string_view RESERVED_NAME_CHARS = "/:,;*?\"<>|";

// True when a single-byte character of `fileName` is one of RESERVED_NAME_CHARS.
bool HasReservedNameChar(std::string_view fileName);

// True when a single-byte character of `fileName` is "*" or "?".
bool HasWildcard(std::string_view fileName);

// Wildcard match of a file name, character by character: "*" matches any run, "?" one
// character, "a"-"z" match "A"-"Z" (unless not `foldCase`), double-byte characters match only
// themselves.
bool MatchesFileNamePattern(std::string_view name, std::string_view pattern, bool foldCase = true);

}  // namespace morvel
