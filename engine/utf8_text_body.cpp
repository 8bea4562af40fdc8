#include "engine/utf8_text_body.h"

#include "engine/utf8_text_decoder.h"

namespace morvel {

std::size_t WriteUtf8Text(TextReader& reader, TextBodyWriter& body) {
  Utf8TextDecoder decoder(body);
  std::string_view block;
  while (reader.Read(block)) {
    if (!decoder.Write(block)) return decoder.InvalidLine();
  }
  // After a failed read the text is cut short anyway; only a whole text must end whole.
  if (!reader.Failed() && !decoder.Finish()) return decoder.InvalidLine();
  return 0;
}

}  // namespace morvel
