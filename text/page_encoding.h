// The encoding of a page's bytes.
#pragma once

namespace morvel {

// CodePage932: the page declares no encoding, and a character code page 932 lacks is written as
// a numeric character reference. Utf8: the page declares UTF-8, and every character is written
// as itself.
enum class PageEncoding { CodePage932, Utf8 };

}  // namespace morvel
