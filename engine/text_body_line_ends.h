// Line ends on the text page, and the "<BR>" and "<P>" tags that the line tags switch puts at
// them. The page's line end is CR LF.
//
// Without tags, each line end of the text becomes CR LF. In the "<BR>" mode it becomes
// "<BR>" CR LF. The "<BR>&<P>" mode writes a line's break when the next line turns out to
// have text: a line of text that follows a line of text starts with "<BR>" CR LF, one that
// follows an empty line (or starts the text) with CR LF; an empty line after a line of text
// is "<P>" CR LF, and an empty line after an empty line "<BR>" CR LF. So the last line needs
// nothing at its end, and an empty line is written whole at its end.
#pragma once

#include <array>
#include <string_view>

#include "engine/page_cursor.h"

namespace morvel {

enum class LineTags { None, Breaks, Paragraphs };

class LineEnds {
 public:
  explicit LineEnds(LineTags tags);

  // What the page gets for a line end of the text, the next line's opening included when
  // `nextHasText` (it is known to have text). A line opened later gets BeforeText().
  const ShortPiece& AtLineEnd(bool nextHasText) {
    const Step& step = atLineEnd_[Index(state_)][nextHasText ? 1 : 0];
    state_ = step.next;
    return step.bytes;
  }

  // What the page gets before text of the current line: its opening, once, in the
  // "<BR>&<P>" mode; nothing otherwise.
  const ShortPiece& BeforeText() {
    const Step& step = beforeText_[Index(state_)];
    state_ = step.next;
    return step.bytes;
  }

 private:
  // Where the "<BR>&<P>" mode stands. The other modes stay at LineHasText.
  enum class State {
    LineHasText,  // the current line is open: it has text
    AfterText,    // the current line has none yet, and the previous line had text
    AfterBreak,   // the current line has none yet, and it is the first or follows an empty line
  };
  struct Step {
    ShortPiece bytes;
    State next = State::LineHasText;
  };
  static constexpr std::size_t Index(State state) { return static_cast<std::size_t>(state); }

  State state_;
  std::array<std::array<Step, 2>, 3> atLineEnd_;
  std::array<Step, 3> beforeText_;
};

}  // namespace morvel
