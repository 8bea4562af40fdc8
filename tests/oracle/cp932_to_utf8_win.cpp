// The tests' code page 932 decoder on Windows: the system's code page 932 table.
#include <windows.h>

#include "tests/oracle/utf8_page.h"

namespace morvel::oracle {

std::optional<std::string> CodePage932ToUtf8(std::string_view bytes) {
  if (bytes.empty()) return std::string();
  const int size = static_cast<int>(bytes.size());
  const int units = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
  if (units == 0) return std::nullopt;
  std::wstring wide(static_cast<std::size_t>(units), L'\0');
  MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, bytes.data(), size, wide.data(), units);
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), units, nullptr, 0, nullptr, nullptr);
  if (length == 0) return std::nullopt;
  std::string result(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), units, result.data(), length, nullptr, nullptr);
  return result;
}

}  // namespace morvel::oracle
