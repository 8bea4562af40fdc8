// Text for a place in the page where markup is read (the title): every character is written
// in code page 932 when it has an exact form there, and as a decimal numeric character
// reference ("&#9731;" for U+2603) when it has none, so no character is lost or replaced.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace morvel {

// Exact code page 932 bytes for UTF-8 `text`, or nothing when a character has no exact form.
using CodePage932Encoder = std::optional<std::string> (*)(std::string_view text);

// UTF-8 `text` as code page 932 bytes, each character `encode` has no bytes for written as
// "&#N;" with N its Unicode scalar value in decimal. Nothing when `text` is not valid UTF-8.
// Nothing else is escaped: "<" and "&" stay as they are.
std::optional<std::string> EncodeWithCharacterReferences(std::string_view text,
                                                         CodePage932Encoder encode);

}  // namespace morvel
