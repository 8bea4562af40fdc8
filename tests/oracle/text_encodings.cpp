#include "tests/oracle/text_encodings.h"

#include <algorithm>
#include <cstdint>

#include "text/code_page_932.h"

namespace morvel::oracle {

namespace {

// The well-formed UTF-8 byte sequences, by their first byte: the bytes that may stand second
// (every later byte is 80 to BF) and their length.
struct SequenceForm {
  unsigned firstFrom, firstTo;
  unsigned secondFrom, secondTo;
  std::size_t length;
};
constexpr SequenceForm FORMS[] = {
    {0x00, 0x7F, 0, 0, 1},       {0xC2, 0xDF, 0x80, 0xBF, 2}, {0xE0, 0xE0, 0xA0, 0xBF, 3},
    {0xE1, 0xEC, 0x80, 0xBF, 3}, {0xED, 0xED, 0x80, 0x9F, 3}, {0xEE, 0xEF, 0x80, 0xBF, 3},
    {0xF0, 0xF0, 0x90, 0xBF, 4}, {0xF1, 0xF3, 0x80, 0xBF, 4}, {0xF4, 0xF4, 0x80, 0x8F, 4},
};

// The sequence at `at`: Whole (`value`, `length`), Cut when `text` ends while every byte so far
// fits a form, Bad otherwise.
struct Sequence {
  enum { Whole, Cut, Bad } kind = Bad;
  char32_t value = 0;
  std::size_t length = 0;
};

Sequence SequenceAt(std::string_view text, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
  for (const SequenceForm& form : FORMS) {
    if (byte(0) < form.firstFrom || byte(0) > form.firstTo) continue;
    // The value bits: all of a one-byte character, the low 5, 4 or 3 of a longer one's first
    // byte, the low 6 of each later one.
    char32_t value = byte(0) & (form.length == 1 ? 0x7F : 0x7F >> form.length);
    for (std::size_t i = 1; i < form.length; ++i) {
      if (at + i == text.size()) return {Sequence::Cut};
      const unsigned from = i == 1 ? form.secondFrom : 0x80;
      const unsigned to = i == 1 ? form.secondTo : 0xBF;
      if (byte(i) < from || byte(i) > to) return {Sequence::Bad};
      value = value << 6 | (byte(i) & 0x3F);
    }
    return {Sequence::Whole, value, form.length};
  }
  return {Sequence::Bad};
}

std::size_t LineAt(std::string_view text, std::size_t at) {
  return 1 + static_cast<std::size_t>(std::count(text.begin(), text.begin() + at, '\n'));
}

void PutUtf8(char32_t value, std::string& out) {
  if (value < 0x80) {
    out += static_cast<char>(value);
  } else if (value < 0x800) {
    out += static_cast<char>(0xC0 | value >> 6);
    out += static_cast<char>(0x80 | (value & 0x3F));
  } else if (value < 0x10000) {
    out += static_cast<char>(0xE0 | value >> 12);
    out += static_cast<char>(0x80 | (value >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (value & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | value >> 18);
    out += static_cast<char>(0x80 | (value >> 12 & 0x3F));
    out += static_cast<char>(0x80 | (value >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (value & 0x3F));
  }
}

// Every character of UTF-8 `text` through `put`, up to its first bad sequence.
template <typename Put>
ReadText ReadUtf8(std::string_view text, Put put) {
  ReadText read;
  for (std::size_t at = 0; at < text.size();) {
    const Sequence sequence = SequenceAt(text, at);
    if (sequence.kind != Sequence::Whole) return {read.text, LineAt(text, at)};
    put(sequence.value, read.text);
    at += sequence.length;
  }
  return read;
}

}  // namespace

FoundEncoding EncodingOf(std::string_view bytes, std::size_t limit) {
  const bool atLimit = limit != 0 && bytes.size() >= limit;
  std::string_view text = atLimit ? bytes.substr(0, limit) : bytes;
  const bool ended = text.find('\x1A') != std::string_view::npos;
  text = text.substr(0, text.find('\x1A'));
  if (text.starts_with("\xEF\xBB\xBF")) return FoundEncoding::Utf8WithMark;
  if (text.starts_with("\xFF\xFE")) return FoundEncoding::Utf16Le;
  if (text.starts_with("\xFE\xFF")) return FoundEncoding::Utf16Be;
  bool high = false;
  for (std::size_t at = 0; at < text.size();) {
    const Sequence sequence = SequenceAt(text, at);
    if (sequence.kind == Sequence::Bad) return FoundEncoding::CodePage932;
    if (sequence.kind == Sequence::Cut) {
      return atLimit && !ended ? FoundEncoding::Utf8 : FoundEncoding::CodePage932;
    }
    high = high || sequence.length > 1;
    at += sequence.length;
  }
  return high ? FoundEncoding::Utf8 : FoundEncoding::CodePage932;
}

ReadText CheckedUtf8(std::string_view text) { return ReadUtf8(text, PutUtf8); }

ReadText Utf16AsUtf8(std::string_view bytes, bool bigEndian) {
  const auto unitAt = [&](std::size_t at) -> char32_t {
    const auto first = static_cast<unsigned char>(bytes[at]);
    const auto second = static_cast<unsigned char>(bytes[at + 1]);
    return bigEndian ? first << 8 | second : second << 8 | first;
  };
  const auto high = [](char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; };
  const auto low = [](char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; };
  ReadText read;
  const auto bad = [&] {
    read.badLine =
        1 + static_cast<std::size_t>(std::count(read.text.begin(), read.text.end(), '\n'));
    return read;
  };
  std::size_t at = 0;
  for (; at + 2 <= bytes.size(); at += 2) {
    const char32_t unit = unitAt(at);
    if (unit == 0x1A) return read;
    if (low(unit)) return bad();
    if (high(unit)) {
      if (at + 4 > bytes.size() || !low(unitAt(at + 2))) return bad();
      PutUtf8(0x10000 + ((unit - 0xD800) << 10) + (unitAt(at + 2) - 0xDC00), read.text);
      at += 2;
      continue;
    }
    PutUtf8(unit, read.text);
  }
  return at == bytes.size() ? read : bad();
}

ReadText Utf8AsCodePage932(std::string_view text) {
  return ReadUtf8(text, [](char32_t value, std::string& out) {
    const std::uint16_t form = Cp932Form(value);
    if (form == NO_CP932_FORM) {
      out += "{&#" + std::to_string(static_cast<std::uint32_t>(value)) + ";}";
    } else if (form > 0xFF) {
      out += static_cast<char>(form >> 8);
      out += static_cast<char>(form & 0xFF);
    } else {
      out += static_cast<char>(form);
    }
  });
}

}  // namespace morvel::oracle
