// The line a place in a text stands on, counted by line feeds as the text streams past: the
// line the readers name when a text turns out not to be valid.
#pragma once

#include <cstddef>
#include <string_view>

namespace morvel {

// The number of "\n" bytes in `bytes`.
std::size_t CountLineFeeds(std::string_view bytes);

// Counts the line feeds of the text passed so far. Fed with text in any of the forms the readers
// hand on (code page 932, UTF-8, ASCII): a line feed is the byte 0x0A in all of them, and no
// byte of another character is.
class LineCount {
 public:
  void Pass(std::string_view text) { lineFeeds_ += CountLineFeeds(text); }
  // The line (from 1) that the next byte stands on.
  std::size_t Line() const { return lineFeeds_ + 1; }

 private:
  std::size_t lineFeeds_ = 0;
};

}  // namespace morvel
