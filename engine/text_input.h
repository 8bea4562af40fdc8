// A text input on its way to the text page writer: decoded from the encoding it is read in into
// the page's, and checked where its encoding asks for it, as it streams in.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "engine/conversion_options.h"
#include "engine/page_writer.h"
#include "engine/text_body_writer.h"
#include "text/code_page_932.h"
#include "text/encoding_classifier.h"
#include "text/page_encoding.h"
#include "text/utf16_to_utf8.h"
#include "text/utf8_text_decoder.h"

namespace morvel {

// The encoding a text's bytes (after any mark) are read in.
enum class InputEncoding { CodePage932, Utf8, Utf16Le, Utf16Be };

// How a text is read: its encoding, and for UTF-8 whether it is checked here (after a mark, when
// the encoding was given, or for the rest of standard input chosen on its first bytes) or has
// been or is being checked by the classifier that chose it.
struct TextForm {
  InputEncoding encoding = InputEncoding::CodePage932;
  bool checkUtf8 = false;
};

// Where a text went wrong: the line (from 1) that holds a sequence its encoding does not allow.
struct InvalidText {
  std::size_t line = 0;  // 0: valid
  bool utf16 = false;    // in UTF-16, otherwise in UTF-8
};

// Takes the text after its mark, in blocks cut anywhere, and writes the page body in `page`'s
// encoding. Code page 932 and UTF-8 blocks come cut before their first 0x1A (TextReader does
// that); UTF-16 blocks come as read, and the text ends at its first U+001A. The ways across:
// code page 932 onto a UTF-8 page through Cp932ToUtf8Stream, Unicode onto a code page 932 page
// through Utf8TextDecoder (a character code page 932 lacks becomes a reference), and UTF-16 to
// UTF-8 first.
class TextInput {
 public:
  TextInput(TextForm form, PageEncoding page, const ConversionOptions& options,
            PageWriter& pageWriter);

  // False once the text has proved invalid (see Invalid()); nothing more is written.
  bool Write(std::string_view block);
  // The end of the input: checks that the text ended whole and writes what is held.
  bool Finish();
  // Only ends the body (the text was cut short by a failed read; nothing is checked).
  void FinishWithoutCheck() { writer_.Finish(); }

  const InvalidText& Invalid() const { return invalid_; }
  // True once the text has ended before the input (a U+001A in UTF-16): nothing more need be read.
  bool Ended() const { return fromUtf16_.Status() == TextStatus::Ended; }

 private:
  // UTF-8 text onto the page.
  bool PutUtf8(std::string_view text);
  bool Fail(std::size_t line, bool utf16);

  TextForm form_;
  PageEncoding page_;
  TextBodyWriter writer_;
  Utf8TextDecoder toCodePage932_;
  Cp932ToUtf8Stream fromCodePage932_;
  Utf8Validator validator_;
  Utf16ToUtf8 fromUtf16_;
  std::string utf8_;  // a block turned into UTF-8
  InvalidText invalid_{};
};

}  // namespace morvel
