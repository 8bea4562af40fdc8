#include "engine/engine_text.h"

#include "text/code_page_932.h"

namespace morvel {

std::optional<std::string> EngineTextFromUtf8(std::string_view text) { return Utf8ToCp932(text); }

std::string Utf8FromEngineText(std::string_view text) {
  return *Cp932ToUtf8(text, Unmapped::QuestionMark);
}

}  // namespace morvel
