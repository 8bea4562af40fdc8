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

std::optional<std::string> Convert(std::string_view text, const char* from, const char* to) {
  // Both encodings agree on every byte below 0x80, so the common all-ASCII path or title
  // needs no converter (opening one loads a module: a noticeable part of a small run).
  if (IsAscii(text)) return std::string(text);
  iconv_t converter = iconv_open(to, from);
  if (converter == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string result(text.size() * 3 + 4, '\0');
  char* in = const_cast<char*>(text.data());
  std::size_t inLeft = text.size();
  char* out = result.data();
  std::size_t outLeft = result.size();
  const std::size_t status = iconv(converter, &in, &inLeft, &out, &outLeft);
  iconv_close(converter);
  if (status == static_cast<std::size_t>(-1) || inLeft != 0) return std::nullopt;
  result.resize(result.size() - outLeft);
  return result;
}

// Appends to `out` what `converter` makes of the longest start of `text` it can convert;
// returns the length of that start.
std::size_t ConvertAsFarAsPossible(iconv_t converter, std::string_view text, std::string& out) {
  iconv(converter, nullptr, nullptr, nullptr, nullptr);
  char* in = const_cast<char*>(text.data());
  std::size_t inLeft = text.size();
  while (inLeft > 0) {
    const std::size_t start = out.size();
    out.resize(start + inLeft * 2 + 16);
    char* into = out.data() + start;
    std::size_t outLeft = out.size() - start;
    const std::size_t status = iconv(converter, &in, &inLeft, &into, &outLeft);
    out.resize(out.size() - outLeft);
    if (status != static_cast<std::size_t>(-1) || errno != E2BIG) break;
  }
  return text.size() - inLeft;
}

std::size_t Utf8Length(char lead) {
  const auto byte = static_cast<unsigned char>(lead);
  return byte < 0x80 ? 1 : byte < 0xE0 ? 2 : byte < 0xF0 ? 3 : 4;
}

// glibc maps a few characters onto others ("¥" onto "\\", say); only a form that reads back
// as the same character is taken.
class PosixTextEncoder final : public TextEncoder {
 public:
  ~PosixTextEncoder() override {
    if (opened_) {
      iconv_close(toCp932_);
      iconv_close(toUtf8_);
    }
  }

  void ToCodePage932(std::string_view utf8, std::string& out,
                     std::vector<LackingCharacter>& lacking) override {
    if (IsAscii(utf8)) {
      out.append(utf8);
      return;
    }
    std::size_t at = 0;
    while (at < utf8.size()) {
      // A run up to the first character iconv cannot convert, checked as a whole.
      const std::size_t runStart = out.size();
      const std::string_view run =
          utf8.substr(at, Open() ? ConvertAsFarAsPossible(toCp932_, utf8.substr(at), out) : 0);
      if (!run.empty() && !ReadsBackAs(std::string_view(out).substr(runStart), run)) {
        out.resize(runStart);
        ConvertEachCharacter(run, at, out, lacking);
      }
      at += run.size();
      if (at < utf8.size()) {
        lacking.push_back({at, out.size()});
        at += Utf8Length(utf8[at]);
      }
    }
  }

 private:
  // Opens both converters at the first text that needs them; false when they cannot be had,
  // and every character then counts as lacking.
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

  // Some character of `run` (at `runAt` in the text) maps onto another one: a character at a
  // time, each is kept or listed as lacking.
  void ConvertEachCharacter(std::string_view run, std::size_t runAt, std::string& out,
                            std::vector<LackingCharacter>& lacking) {
    for (std::size_t at = 0; at < run.size();) {
      const std::string_view character = run.substr(at, Utf8Length(run[at]));
      const std::size_t mark = out.size();
      if (ConvertAsFarAsPossible(toCp932_, character, out) != character.size() ||
          !ReadsBackAs(std::string_view(out).substr(mark), character)) {
        out.resize(mark);
        lacking.push_back({runAt + at, mark});
      }
      at += character.size();
    }
  }

  bool ReadsBackAs(std::string_view cp932, std::string_view utf8) {
    back_.clear();
    return ConvertAsFarAsPossible(toUtf8_, cp932, back_) == cp932.size() && back_ == utf8;
  }

  iconv_t toCp932_{};
  iconv_t toUtf8_{};
  bool tried_ = false;
  bool opened_ = false;
  std::string back_;
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
