#include "platform/wide_text_win.h"

#include <windows.h>

#include "text/code_page_932.h"
#include "text/utf16.h"

namespace morvel {

namespace {

// wchar_t is a UTF-16 code unit on Windows.
std::wstring AsWide(std::u16string_view text) { return {text.begin(), text.end()}; }
std::u16string AsUtf16(std::wstring_view wide) { return {wide.begin(), wide.end()}; }

}  // namespace

std::wstring Widen(std::string_view text) {
  return AsWide(*Cp932ToUtf16(text, Unmapped::QuestionMark));
}

std::optional<std::string> ToCodePage932(std::wstring_view wide) {
  return Utf16ToCp932(AsUtf16(wide));
}

std::wstring WidePath(std::string_view path) {
  const auto wide = Cp932ToUtf16(path);
  return wide ? AsWide(*wide) : std::wstring();
}

std::optional<std::wstring> WidenUtf8(std::string_view text) {
  const auto wide = Utf8ToUtf16(text);
  if (!wide) return std::nullopt;
  return AsWide(*wide);
}

std::string NarrowToUtf8(std::wstring_view wide) { return Utf16ToUtf8(AsUtf16(wide)); }

std::string NarrowToRead(std::wstring_view wide, unsigned codePage) {
  if (codePage == 932) return *Utf16ToCp932(AsUtf16(wide), Unmapped::QuestionMark);
  if (wide.empty()) return {};
  const int length = WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()),
                                         nullptr, 0, nullptr, nullptr);
  if (length <= 0) return {};
  std::string text(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), text.data(), length,
                      nullptr, nullptr);
  return text;
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

}  // namespace morvel
