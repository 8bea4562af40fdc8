#include "platform/wide_text_win.h"

#include <windows.h>

#include "platform/native_platform.h"

namespace morvel {

std::wstring Widen(std::string_view text, unsigned codePage, unsigned long flags) {
  if (text.empty()) return {};
  const int length =
      MultiByteToWideChar(codePage, flags, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (length <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(codePage, flags, text.data(), static_cast<int>(text.size()), wide.data(),
                      length);
  return wide;
}

std::string Narrow(std::wstring_view wide, unsigned codePage) {
  if (wide.empty()) return {};
  const int length = WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()),
                                         nullptr, 0, nullptr, nullptr);
  if (length <= 0) return {};
  std::string text(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), text.data(), length,
                      nullptr, nullptr);
  return text;
}

std::optional<std::string> ToCodePage932(std::wstring_view wide) {
  if (wide.empty()) return std::string();
  BOOL usedDefault = FALSE;
  const int length =
      WideCharToMultiByte(ENGINE_CODE_PAGE, WC_NO_BEST_FIT_CHARS, wide.data(),
                          static_cast<int>(wide.size()), nullptr, 0, nullptr, &usedDefault);
  if (length <= 0 || usedDefault) return std::nullopt;
  std::string text(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(ENGINE_CODE_PAGE, WC_NO_BEST_FIT_CHARS, wide.data(),
                      static_cast<int>(wide.size()), text.data(), length, nullptr, &usedDefault);
  if (usedDefault) return std::nullopt;
  return text;
}

namespace {

std::size_t Utf8Length(char lead) {
  const auto byte = static_cast<unsigned char>(lead);
  return byte < 0x80 ? 1 : byte < 0xE0 ? 2 : byte < 0xF0 ? 3 : 4;
}

class WindowsTextEncoder final : public TextEncoder {
 public:
  void ToCodePage932(std::string_view utf8, std::string& out,
                     std::vector<LackingCharacter>& lacking) override {
    if (auto whole = morvel::ToCodePage932(Widen(utf8, CP_UTF8))) {
      out.append(*whole);
      return;
    }
    // Some character has no exact form: a character at a time, each is kept or listed.
    for (std::size_t at = 0; at < utf8.size();) {
      const std::string_view character = utf8.substr(at, Utf8Length(utf8[at]));
      if (auto form = morvel::ToCodePage932(Widen(character, CP_UTF8))) {
        out.append(*form);
      } else {
        lacking.push_back({at, out.size()});
      }
      at += character.size();
    }
  }
};

}  // namespace

std::unique_ptr<TextEncoder> MakeTextEncoder() { return std::make_unique<WindowsTextEncoder>(); }

}  // namespace morvel
