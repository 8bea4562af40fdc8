// Byte-string primitives shared by the engine and the line transforms. They work byte by
// byte and know nothing of double-byte characters; strings are growable, so none of them
// has a length limit.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace morvel {

// True when `text` begins with `prefix`, comparing "a"-"z" with "A"-"Z" as equal and every
// other byte (0x80-0xFF included) exactly. An empty prefix matches every text. Reads no byte
// of `text` beyond the prefix's length.
bool StartsWithNoCase(std::string_view text, std::string_view prefix);

// Number of bytes before the first NUL of a zero-terminated string.
int StringLength(const char* text);

// When the byte at `position` is `wanted`, replaces that one byte with `replacement`; a
// position outside the string, or another byte there, leaves `buffer` unchanged. The buffer
// grows as needed.
void ReplaceCharAt(std::string& buffer, char wanted, std::string_view replacement,
                   std::ptrdiff_t position);

// Start offsets, in increasing order, of the occurrences of a non-empty `pattern` in `text`,
// found by one forward pass whose partial match is dropped on a mismatch without comparing
// the mismatching byte with the pattern's first byte again. So back-to-back occurrences are
// all found ("http://http://" gives 0 and 7) while one that starts inside a failed partial
// match is not ("hhttp://" gives none). `offsets` is cleared first; its capacity is reused.
void FindAllOccurrences(std::string_view text, std::string_view pattern,
                        std::vector<std::size_t>& offsets);

}  // namespace morvel
