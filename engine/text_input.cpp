#include "engine/text_input.h"

namespace morvel {

TextInput::TextInput(TextForm form, PageEncoding page, const ConversionOptions& options,
                     PageWriter& pageWriter)
    : form_(form),
      page_(page),
      writer_(options, pageWriter, page),
      toCodePage932_(writer_),
      fromUtf16_(form.encoding == InputEncoding::Utf16Be) {}

bool TextInput::Fail(std::size_t line, bool utf16) {
  if (invalid_.line == 0) invalid_ = {line, utf16};
  return false;
}

bool TextInput::PutUtf8(std::string_view text) {
  if (page_ == PageEncoding::Utf8) {
    writer_.Write(text);
    return true;
  }
  return toCodePage932_.Write(text) || Fail(toCodePage932_.InvalidLine(), false);
}

bool TextInput::Write(std::string_view block) {
  if (invalid_.line != 0) return false;
  switch (form_.encoding) {
    case InputEncoding::CodePage932:
      if (page_ == PageEncoding::CodePage932) {
        writer_.Write(block);
        return true;
      }
      utf8_.clear();
      fromCodePage932_.Write(block, utf8_);
      writer_.Write(utf8_);
      return true;
    case InputEncoding::Utf8:
      if (form_.checkUtf8 && !validator_.Write(block)) {
        return Fail(validator_.InvalidLine(), false);
      }
      return PutUtf8(block);
    case InputEncoding::Utf16Le:
    case InputEncoding::Utf16Be: {
      utf8_.clear();
      const TextStatus status = fromUtf16_.Write(block, utf8_);
      if (!PutUtf8(utf8_)) return false;
      return status != TextStatus::Invalid || Fail(fromUtf16_.InvalidLine(), true);
    }
  }
  return true;
}

bool TextInput::Finish() {
  if (invalid_.line == 0) {
    switch (form_.encoding) {
      case InputEncoding::CodePage932:
        if (page_ == PageEncoding::Utf8) {
          utf8_.clear();
          fromCodePage932_.Finish(utf8_);
          writer_.Write(utf8_);
        }
        break;
      case InputEncoding::Utf8:
        if (form_.checkUtf8 && !validator_.Finish()) Fail(validator_.InvalidLine(), false);
        break;
      case InputEncoding::Utf16Le:
      case InputEncoding::Utf16Be:
        if (!fromUtf16_.Finish()) Fail(fromUtf16_.InvalidLine(), true);
        break;
    }
    if (invalid_.line == 0 && form_.encoding != InputEncoding::CodePage932 &&
        page_ == PageEncoding::CodePage932 && !toCodePage932_.Finish()) {
      Fail(toCodePage932_.InvalidLine(), false);
    }
  }
  writer_.Finish();
  return invalid_.line == 0;
}

}  // namespace morvel
