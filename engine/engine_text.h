// The engine's text is code page 932; front ends take and show UTF-8. These are the two ways
// across, through the product's one code page 932 table.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace morvel {

// UTF-8 `text` as code page 932, or nothing when it is not UTF-8 or a character has no exact
// form (paths: a stand-in would name another file).
std::optional<std::string> EngineTextFromUtf8(std::string_view text);

// Code page 932 `text` as UTF-8 for a person to read; a sequence code page 932 does not define
// shows as "?".
std::string Utf8FromEngineText(std::string_view text);

}  // namespace morvel
