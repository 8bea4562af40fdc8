// Addresses linked in the same pass as the escaping: what LinkAddresses() does on an escaped
// line, decided from the line's raw bytes. Used by the one-pass writer of whole runs of lines.
#pragma once

#include <cstddef>
#include <string_view>

namespace morvel {

// Whether LinkAddresses() on the escaped line starts an address at the "http://" at `at`,
// known from the bytes just before it, when its search came to `searchStart` (the line's
// start, or the end of the address before) with nothing pending and no "http://" between.
// It would not when a partial match runs on into `at` (the byte before is one of "http://"'s
// own) or when the "h" is a trail byte (an odd run of lead bytes before it: the search skips
// lead bytes in pairs from a character start, and no byte it stops at inside the run can
// change that parity). Escaping replaces none of these bytes with others of them, so the raw
// text answers for the escaped one. False means "not known here", not "no address".
bool StartsAddressAlone(const char* data, std::size_t searchStart, std::size_t at);

// Length of the raw address at the start of `text` (which starts with "http://") when the
// line is escaped: up to the first byte that ends an address in the escaped line. "\"" and
// "<" are escaped to "&quot;" and "&lt;", which end it as they do; "&" and ">" become "&amp;"
// and "&gt;", which belong to it; every other byte ends it or not by itself.
std::size_t EscapedAddressLength(std::string_view text);

// The most an address grows by escaping: "&" becomes five bytes.
inline constexpr std::size_t MAX_ESCAPED_GROWTH = 5;

// Writes to `out` the anchor for the raw `address`, escaped, as LinkAddresses() writes it for
// the escaped address: "<A href=\"ADDRESS\">ADDRESS</A>". `out` must have room for
// 2 * MAX_ESCAPED_GROWTH * address.size() + 15 bytes. Returns the end of what it wrote.
char* WriteEscapedLink(std::string_view address, char* out);

}  // namespace morvel
