#include "tests/oracle/utf8_page.h"

#include "text/code_page_932.h"

namespace morvel::oracle {

std::optional<std::string> CodePage932ToUtf8(std::string_view bytes) { return Cp932ToUtf8(bytes); }

std::optional<std::string> Utf8PageOf(std::string_view page) {
  const std::size_t head = page.find("<HEAD>");
  if (head == std::string_view::npos) return std::nullopt;
  const std::size_t split = head + std::string_view("<HEAD>").size();
  auto before = CodePage932ToUtf8(page.substr(0, split));
  auto after = CodePage932ToUtf8(page.substr(split));
  if (!before || !after) return std::nullopt;
  return *before + std::string(UTF8_PAGE_META) + *after;
}

}  // namespace morvel::oracle
