#include "platform/encoding_posix.h"

#include <iconv.h>

#include <cerrno>

namespace morvel {

namespace {

bool IsAscii(std::string_view text) {
  for (const char byte : text) {
    if (static_cast<unsigned char>(byte) >= 0x80) return false;
  }
  return true;
}

std::optional<std::string> Convert(std::string_view text, const char* from, const char* to) {
  // Both encodings agree on every byte below 0x80, so the common all-ASCII path or title
  // needs no converter (opening one loads a module: a noticeable part of a small run).
  if (IsAscii(text)) return std::string(text);
  iconv_t converter = iconv_open(to, from);
  if (converter == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string result(text.size() * 3 + 4, '\0');
  char* in = const_cast<char*>(text.data());
  std::size_t inLeft = text.size();
  char* out = result.data();
  std::size_t outLeft = result.size();
  const std::size_t status = iconv(converter, &in, &inLeft, &out, &outLeft);
  iconv_close(converter);
  if (status == static_cast<std::size_t>(-1) || inLeft != 0) return std::nullopt;
  result.resize(result.size() - outLeft);
  return result;
}

}  // namespace

std::optional<std::string> Cp932ToUtf8(std::string_view text) {
  return Convert(text, "CP932", "UTF-8");
}

std::optional<std::string> Utf8ToCp932(std::string_view text) {
  return Convert(text, "UTF-8", "CP932");
}

}  // namespace morvel
