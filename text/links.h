// Automatic links: every web address that begins with "http://" becomes an anchor whose
// target and visible text are both the address.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace morvel {

inline constexpr std::string_view LINK_PREFIX = "http://";

// Length of the address that starts at `start` in `line`: the run of bytes up to, not
// including, the first byte that is 0x20 or below (NUL, the newline, a space), 0x7F or
// above (every byte of a double-byte character), "\"" or "<", or that begins "&lt;" or
// "&quot;" in any case. "&", ">", "'" and ";" belong to an address.
std::size_t AddressLength(std::string_view line, std::size_t start);

// Appends to `result` the anchor for the address that starts at `start` in `line`:
// "<A href=\"ADDRESS\">ADDRESS</A>", 15 bytes of markup around it twice. Returns the
// address's length.
std::size_t WrapLink(std::string_view line, std::size_t start, std::string& result);

// The line with every address linked: `line` itself when no "http://" occurs in it (`buffer`
// is then left alone), otherwise built in `buffer`, whose capacity is reused.
// An address starts at each "http://" found by a case-sensitive search that
//  - drops a partial match at the byte that breaks it, without trying that byte as a new
//    start, so "hhttp://" and "httphttp://" hold no address;
//  - starts matches only at character starts: a code page 932 lead byte and the byte after it
//    are one character and never part of a match, so the "h" trail byte of a double-byte
//    character neither starts an address nor hides the "h" after it.
// A "http://" inside an address belongs to that address's anchor. One pass; no limit on the
// number or length of addresses.
std::string_view LinkAddresses(std::string_view line, std::string& buffer);

}  // namespace morvel
