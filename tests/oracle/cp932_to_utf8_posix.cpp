// The tests' code page 932 decoder on Linux: glibc's iconv.
#include <iconv.h>

#include "tests/oracle/utf8_page.h"

namespace morvel::oracle {

std::optional<std::string> CodePage932ToUtf8(std::string_view bytes) {
  if (bytes.empty()) return std::string();
  iconv_t converter = iconv_open("UTF-8", "CP932");
  if (converter == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string result(bytes.size() * 3, '\0');
  char* in = const_cast<char*>(bytes.data());
  std::size_t inLeft = bytes.size();
  char* out = result.data();
  std::size_t outLeft = result.size();
  const std::size_t status = iconv(converter, &in, &inLeft, &out, &outLeft);
  iconv_close(converter);
  if (status == static_cast<std::size_t>(-1) || inLeft != 0) return std::nullopt;
  result.resize(result.size() - outLeft);
  return result;
}

}  // namespace morvel::oracle
