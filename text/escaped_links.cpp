#include "text/escaped_links.h"

#include <cstring>

#include "text/cp932.h"
#include "text/escape.h"
#include "text/links.h"
#include "text/page_bytes.h"

namespace morvel {

bool StartsAddressAlone(const char* data, std::size_t searchStart, std::size_t at) {
  if (at == searchStart) return true;
  if (LINK_PREFIX.find(data[at - 1]) != std::string_view::npos) return false;
  std::size_t leadRun = 0;
  while (at - leadRun > searchStart && IsLeadByte(data[at - leadRun - 1])) ++leadRun;
  return leadRun % 2 == 0;
}

std::size_t EscapedAddressLength(std::string_view text) {
  std::size_t end = LINK_PREFIX.size();
  while (end < text.size()) {
    const auto byte = static_cast<unsigned char>(text[end]);
    if (byte <= 0x20 || byte >= 0x7F || byte == '"' || byte == '<') break;
    ++end;
  }
  return end;
}

char* WriteEscapedLink(std::string_view address, char* out) {
  out = PutBytes(out, "<A href=\"");
  char* const escaped = out;
  for (const char byte : address) {
    if (byte == '&') {
      out = PutBytes(out, AMPERSAND_ENTITY);
    } else if (byte == '>') {
      out = PutBytes(out, GREATER_THAN_ENTITY);
    } else {
      *out++ = byte;
    }
  }
  const std::size_t length = static_cast<std::size_t>(out - escaped);
  out = PutBytes(out, "\">");
  std::memcpy(out, escaped, length);
  return PutBytes(out + length, "</A>");
}

}  // namespace morvel
