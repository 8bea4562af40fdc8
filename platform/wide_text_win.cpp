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

class WindowsTextEncoder final : public TextEncoder {
 public:
  std::optional<std::string> ToCodePage932(std::string_view utf8) override {
    const std::wstring wide = Widen(utf8, CP_UTF8, MB_ERR_INVALID_CHARS);
    if (wide.empty() && !utf8.empty()) return std::nullopt;
    return morvel::ToCodePage932(wide);
  }
};

}  // namespace

std::unique_ptr<TextEncoder> MakeTextEncoder() { return std::make_unique<WindowsTextEncoder>(); }

}  // namespace morvel
