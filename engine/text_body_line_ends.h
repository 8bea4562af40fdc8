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
#include <cstdint>
#include <string_view>

#include "engine/page_cursor.h"

namespace morvel {

enum class LineTags { None, Breaks, Paragraphs };

class LineEnds {
 public:
  // No piece is longer.
  static constexpr std::size_t LONGEST_PIECE = 16;

  explicit LineEnds(LineTags tags);
  // (Where it stands points into its own tables.)
  LineEnds(const LineEnds&) = delete;
  LineEnds& operator=(const LineEnds&) = delete;

  // What the page gets for a line end of the text, the next line's opening included when
  // `nextHasText` (it is known to have text). A line opened later gets BeforeText().
  const ShortPiece& AtLineEnd(bool nextHasText) {
    const Step& step = state_->atByte[2 + (nextHasText ? 1 : 0)];
    state_ = step.next;
    return step.bytes;
  }

  // AtLineEnd(nextHasText) where `lineEnd`, and otherwise `other` with nothing changed; chosen
  // without a branch on `lineEnd`.
  const ShortPiece& AtLineEndOr(bool lineEnd, bool nextHasText, const ShortPiece& other) {
    const Step& step = state_->atByte[2 * (lineEnd ? 1 : 0) + (nextHasText ? 1 : 0)];
    state_ = step.next;
    return *Select(lineEnd, &step.bytes, &other);
  }

  // What the page gets before text of the current line: its opening, once, in the
  // "<BR>&<P>" mode; nothing otherwise.
  const ShortPiece& BeforeText() {
    const Step& step = state_->beforeText;
    state_ = step.next;
    return step.bytes;
  }

 private:
  // Where the "<BR>&<P>" mode stands. The other modes stay at LineHasText.
  enum State {
    LINE_HAS_TEXT,  // the current line is open: it has text
    AFTER_TEXT,     // the current line has none yet, and the previous line had text
    AFTER_BREAK,    // the current line has none yet, and it is the first or follows an empty line
    STATES
  };
  struct Steps;
  // (64 bytes: a step is found with a shift.)
  struct alignas(64) Step {
    ShortPiece bytes;
    const Steps* next = nullptr;
  };
  // The steps from one state.
  struct Steps {
    // By the byte, a line end or not, and the next line, empty or with text. A byte that is no
    // line end leaves the state as it is.
    std::array<Step, 4> atByte;
    Step beforeText;
  };

  // `yes` when `which`, otherwise `no`, through a mask where a compiler could choose a branch.
  template <typename T>
  static const T* Select(bool which, const T* yes, const T* no) {
    const auto yesBits = reinterpret_cast<std::uintptr_t>(yes);
    const auto noBits = reinterpret_cast<std::uintptr_t>(no);
    const std::uintptr_t mask = 0 - static_cast<std::uintptr_t>(which);
    return reinterpret_cast<const T*>(noBits ^ ((yesBits ^ noBits) & mask));
  }

  std::array<Steps, STATES> steps_;
  const Steps* state_;
};

}  // namespace morvel
