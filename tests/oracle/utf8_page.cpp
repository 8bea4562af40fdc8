#include "tests/oracle/utf8_page.h"

#include <algorithm>

#include "text/code_page_932.h"

namespace morvel::oracle {

std::optional<std::string> CodePage932ToUtf8(std::string_view bytes) { return Cp932ToUtf8(bytes); }

std::optional<std::string> Utf8PageOf(std::string_view page, bool japanese) {
  const std::size_t head = page.find("<HEAD>");
  if (head == std::string_view::npos) return std::nullopt;
  const std::size_t split = head + std::string_view("<HEAD>").size();
  auto before = CodePage932ToUtf8(page.substr(0, split));
  auto after = CodePage932ToUtf8(page.substr(split));
  if (!before || !after) return std::nullopt;
  if (japanese && before->find("<HTML>") != std::string::npos) {
    before->replace(before->find("<HTML>"), 6, "<HTML lang=\"ja\">");
  }
  return *before + std::string(UTF8_PAGE_META) + *after;
}

bool HoldsKana(std::string_view text) {
  text = text.substr(0, std::min<std::size_t>(text.size(), 64 * 1024));
  // Every kana is a three-byte sequence: EF BD A5-BF, EF BE 80-9F, or E3 81-83 80-BF.
  for (std::size_t i = 0; i + 2 < text.size(); ++i) {
    const auto a = static_cast<unsigned char>(text[i]);
    const auto b = static_cast<unsigned char>(text[i + 1]);
    const auto c = static_cast<unsigned char>(text[i + 2]);
    if (c < 0x80 || c > 0xBF) continue;
    if (a == 0xE3 && b >= 0x81 && b <= 0x83) return true;
    if (a == 0xEF && ((b == 0xBD && c >= 0xA5) || (b == 0xBE && c <= 0x9F))) return true;
  }
  return false;
}

}  // namespace morvel::oracle
