#include "platform/encoding_posix.h"

#include <iconv.h>

#include <cerrno>

#include "platform/native_platform.h"

namespace morvel {

namespace {

bool IsAscii(std::string_view text) {
  for (const char byte : text) {
    if (static_cast<unsigned char>(byte) >= 0x80) return false;
  }
  return true;
}

// What `converter` makes of all of `text`, or nothing when it stops short.
std::optional<std::string> ConvertAll(iconv_t converter, std::string_view text) {
  iconv(converter, nullptr, nullptr, nullptr, nullptr);
  std::string result(text.size() * 3 + 4, '\0');
  char* in = const_cast<char*>(text.data());
  std::size_t inLeft = text.size();
  char* out = result.data();
  std::size_t outLeft = result.size();
  const std::size_t status = iconv(converter, &in, &inLeft, &out, &outLeft);
  if (status == static_cast<std::size_t>(-1) || inLeft != 0) return std::nullopt;
  result.resize(result.size() - outLeft);
  return result;
}

std::optional<std::string> Convert(std::string_view text, const char* from, const char* to) {
  // Both encodings agree on every byte below 0x80, so the common all-ASCII path or title
  // needs no converter (opening one loads a module: a noticeable part of a small run).
  if (IsAscii(text)) return std::string(text);
  iconv_t converter = iconv_open(to, from);
  if (converter == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  auto result = ConvertAll(converter, text);
  iconv_close(converter);
  return result;
}

// Keeps both converters open for its lifetime, opened at the first text that needs them.
class PosixTextEncoder final : public TextEncoder {
 public:
  ~PosixTextEncoder() override {
    if (opened_) {
      iconv_close(toCp932_);
      iconv_close(toUtf8_);
    }
  }

  std::optional<std::string> ToCodePage932(std::string_view utf8) override {
    if (IsAscii(utf8)) return std::string(utf8);
    if (!Open()) return std::nullopt;
    auto converted = ConvertAll(toCp932_, utf8);
    // glibc maps a few characters onto others (a yen sign onto "\\", say): only a form that
    // reads back as the same text is exact.
    if (!converted || ConvertAll(toUtf8_, *converted) != utf8) return std::nullopt;
    return converted;
  }

 private:
  bool Open() {
    if (!tried_) {
      tried_ = true;
      toCp932_ = iconv_open("CP932", "UTF-8");
      toUtf8_ = iconv_open("UTF-8", "CP932");
      const iconv_t failed = reinterpret_cast<iconv_t>(-1);
      opened_ = toCp932_ != failed && toUtf8_ != failed;
      if (!opened_ && toCp932_ != failed) iconv_close(toCp932_);
      if (!opened_ && toUtf8_ != failed) iconv_close(toUtf8_);
    }
    return opened_;
  }

  iconv_t toCp932_{};
  iconv_t toUtf8_{};
  bool tried_ = false;
  bool opened_ = false;
};

}  // namespace

std::unique_ptr<TextEncoder> MakeTextEncoder() { return std::make_unique<PosixTextEncoder>(); }

std::optional<std::string> Cp932ToUtf8(std::string_view text) {
  return Convert(text, "CP932", "UTF-8");
}

std::optional<std::string> Utf8ToCp932(std::string_view text) {
  return Convert(text, "UTF-8", "CP932");
}

}  // namespace morvel
