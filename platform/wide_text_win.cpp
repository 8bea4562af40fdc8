#include "platform/wide_text_win.h"

#include <windows.h>

#include "platform/native_platform.h"
#include "text/character_references.h"

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

std::optional<std::string> Utf8ToCodePage932(std::string_view text) {
  const std::wstring wide = Widen(text, CP_UTF8, MB_ERR_INVALID_CHARS);
  if (wide.empty() && !text.empty()) return std::nullopt;
  return ToCodePage932(wide);
}

std::string ToCodePage932WithReferences(std::wstring_view wide) {
  // UTF-8 from UTF-16 is always valid: a lone surrogate becomes U+FFFD.
  return EncodeWithCharacterReferences(Narrow(wide, CP_UTF8), Utf8ToCodePage932).value_or("");
}

std::wstring WidePath(std::string_view path) {
  return Widen(path, ENGINE_CODE_PAGE, MB_ERR_INVALID_CHARS);
}

std::optional<std::wstring> FullPath(const std::wstring& path) {
  const DWORD length = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (length == 0) return std::nullopt;
  std::wstring full(length, L'\0');
  const DWORD written = GetFullPathNameW(path.c_str(), length, full.data(), nullptr);
  if (written == 0 || written >= length) return std::nullopt;
  full.resize(written);
  return full;
}

namespace {

class WindowsTextEncoder final : public TextEncoder {
 public:
  std::optional<std::string> ToCodePage932(std::string_view utf8) override {
    return Utf8ToCodePage932(utf8);
  }
};

}  // namespace

std::unique_ptr<TextEncoder> MakeTextEncoder() { return std::make_unique<WindowsTextEncoder>(); }

}  // namespace morvel
