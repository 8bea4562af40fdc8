// The one interface that page bytes and text are written through: the parts of a page, the
// page writer, the text page writer and the UTF-8 decoder's output all take a Sink.
#pragma once

#include <string_view>

namespace morvel {

class Sink {
 public:
  virtual ~Sink() = default;
  // The next bytes, cut anywhere.
  virtual void Write(std::string_view bytes) = 0;
  // A numeric character reference such as "&#9731;", standing for a character that the page's
  // encoding lacks. It is written as it stands: a sink that escapes text never escapes it.
  // A sink that escapes nothing writes it as any other bytes.
  virtual void WriteReference(std::string_view reference) { Write(reference); }
};

}  // namespace morvel
