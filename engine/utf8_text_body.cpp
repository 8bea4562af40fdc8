#include "engine/utf8_text_body.h"

#include "engine/utf8_text_decoder.h"

namespace morvel {

namespace {

class DecodedTextBody final : public DecodedTextSink {
 public:
  explicit DecodedTextBody(TextBodyWriter& body) : body_(body) {}
  void Write(std::string_view block) override { body_.Write(block); }
  void WriteReference(std::string_view reference) override { body_.WriteReference(reference); }

 private:
  TextBodyWriter& body_;
};

}  // namespace

std::size_t WriteUtf8Text(TextReader& reader, TextBodyWriter& body) {
  DecodedTextBody decoded(body);
  Utf8TextDecoder decoder(decoded);
  std::string_view block;
  while (reader.Read(block)) {
    if (!decoder.Write(block)) return decoder.InvalidLine();
  }
  // After a failed read the text is cut short anyway; only a whole text must end whole.
  if (!reader.Failed() && !decoder.Finish()) return decoder.InvalidLine();
  return 0;
}

}  // namespace morvel
