// Automatic links: where an address that begins with "http://" starts, where it ends, and the
// anchor that is written around it.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "text/encoding.h"
#include "text/escape.h"
#include "text/primitives.h"

namespace morvel {

inline constexpr std::string_view LINK_PREFIX = "http://";

// An anchor is ANCHOR_OPEN, the address, ANCHOR_MIDDLE, the address again, ANCHOR_CLOSE; the
// address is written escaped as the rest of the line is.
inline constexpr std::string_view ANCHOR_OPEN = "<A href=\"";
inline constexpr std::string_view ANCHOR_MIDDLE = "\">";
inline constexpr std::string_view ANCHOR_CLOSE = "</A>";

// Whether a code page 932 lead byte takes the byte after it into its character
// (`CodePage932`), or every byte stands alone (`Off`: UTF-8 text, where no byte of a
// multi-byte character is ASCII, so a byte of 0x80 or above only breaks a match).
enum class LeadByteRule { CodePage932, Off };

// The search for LINK_PREFIX along one line, a byte at a time, from the line's start (a new
// LinkSearch). It is case-sensitive and drops a partial match at the byte that breaks it
// without trying that byte as a new start, so "hhttp://" and "httphttp://" hold no address.
// Under LeadByteRule::CodePage932, a lead byte and the byte after it are one character, never
// part of a match: the "h" trail byte of a double-byte character neither starts an address nor
// hides the "h" after it. The search runs the same over the line escaped or not: escaping replaces
// only bytes that break a match, and what it writes for one byte holds no "h" and ends where that
// byte's character ends (a tab's replacement is whole double-byte characters).
class LinkSearch {
 public:
  explicit LinkSearch(LeadByteRule rule = LeadByteRule::CodePage932)
      : pairs_(rule == LeadByteRule::CodePage932) {}

  // Takes the next byte; true when it completes LINK_PREFIX, whose "h" stands
  // LINK_PREFIX.size() - 1 bytes back.
  bool Step(char byte) {
    if (trailNext_) {
      trailNext_ = false;
      return false;
    }
    if (pairs_ && IsLeadByte(byte)) {
      matched_ = 0;
      trailNext_ = true;
      return false;
    }
    if (byte != LINK_PREFIX[matched_]) {
      matched_ = 0;
      return false;
    }
    if (++matched_ < LINK_PREFIX.size()) return false;
    matched_ = 0;
    return true;
  }

  // Back at rest, as at the start of a line, under the same rule.
  void Restart() {
    matched_ = 0;
    trailNext_ = false;
  }

  // How many bytes of LINK_PREFIX the last bytes taken have matched.
  std::size_t Matched() const { return matched_; }

  // True when nothing is matched and the next byte starts a character.
  bool AtRest() const { return matched_ == 0 && !trailNext_; }

 private:
  std::size_t matched_ = 0;
  bool trailNext_ = false;
  bool pairs_;
};

// Which bytes are LINK_PREFIX's.
inline constexpr std::array<bool, 256> LINK_PREFIX_BYTES = [] {
  std::array<bool, 256> members{};
  for (const char member : LINK_PREFIX) members[static_cast<unsigned char>(member)] = true;
  return members;
}();

// True when the search is at rest after `byte`, whatever it stood at before: `byte` is
// neither a lead byte (under `rule`) nor a byte of LINK_PREFIX (as a trail byte it ends its
// character, as a character of its own it breaks any match).
constexpr bool RestsLinkSearch(char byte, LeadByteRule rule = LeadByteRule::CodePage932) {
  return !(rule == LeadByteRule::CodePage932 && IsLeadByte(byte)) &&
         !LINK_PREFIX_BYTES[static_cast<unsigned char>(byte)];
}

// True when `byte` ends an address: 0x20 and below (control bytes, the line end, a space; a
// tab, whose replacement is double-byte, too), 0x7F and above (every byte of a double-byte
// character and every half-width katakana), "\"" and "<". "&", ">", "'" and ";" belong to an
// address.
constexpr bool EndsAddress(char byte) {
  const auto value = static_cast<unsigned char>(byte);
  return value <= 0x20 || value >= 0x7F || byte == '"' || byte == '<';
}

// Whether the text `rest`, which starts with "&", ends an address there: the entities of "<"
// and "\"" do, their letters in any case, as the characters themselves do. `Undecided`: `rest`
// is too short to tell. (With escaping on, "&" in the input becomes "&amp;", which never ends
// an address: the rule then holds for escaped "<" and "\"" only, which EndsAddress() covers.)
enum class EntityEnd { Ends, Continues, Undecided };
constexpr EntityEnd AddressEndAtEntity(std::string_view rest) {
  bool undecided = false;
  for (const std::string_view entity : {LESS_THAN_ENTITY, QUOTE_ENTITY}) {
    if (rest.size() >= entity.size()) {
      if (StartsWithNoCase(rest, entity)) return EntityEnd::Ends;
    } else if (StartsWithNoCase(entity, rest)) {
      undecided = true;
    }
  }
  return undecided ? EntityEnd::Undecided : EntityEnd::Continues;
}

}  // namespace morvel
