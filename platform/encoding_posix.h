// Conversion between the engine's code page 932 text and the UTF-8 of POSIX file names and
// terminals.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace morvel {

// Nothing when `text` holds a byte sequence that the source encoding does not define or a
// character the target encoding cannot hold.
std::optional<std::string> Cp932ToUtf8(std::string_view text);
std::optional<std::string> Utf8ToCp932(std::string_view text);

}  // namespace morvel
