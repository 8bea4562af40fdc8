#include "engine/text_body_line_ends.h"

#include <string>
#include <utility>

namespace morvel {

namespace {

constexpr std::string_view LINE_END = "\r\n";
constexpr std::string_view BREAK_LINE_END = "<BR>\r\n";
constexpr std::string_view PARAGRAPH_LINE_END = "<P>\r\n";

// The longest piece is a line's end and the next line's opening together.
static_assert(PARAGRAPH_LINE_END.size() + BREAK_LINE_END.size() <= LineEnds::LONGEST_PIECE);

}  // namespace

LineEnds::LineEnds(LineTags tags) {
  if (tags != LineTags::Paragraphs) {
    // One state, and the same bytes at every line end.
    const ShortPiece end(tags == LineTags::None ? LINE_END : BREAK_LINE_END);
    Steps& only = steps_[LINE_HAS_TEXT];
    only.atByte = {Step{ShortPiece(), &only}, Step{ShortPiece(), &only}, Step{end, &only},
                   Step{end, &only}};
    only.beforeText = Step{ShortPiece(), &only};
    state_ = &only;
    return;
  }
  // The line that ends: an open line needs nothing more; an empty one is written whole.
  const std::pair<std::string_view, State> ended[STATES] = {
      {"", AFTER_TEXT},                   // LINE_HAS_TEXT
      {PARAGRAPH_LINE_END, AFTER_BREAK},  // AFTER_TEXT
      {BREAK_LINE_END, AFTER_BREAK},      // AFTER_BREAK
  };
  // The opening of a line, by what came before it.
  const std::string_view opening[STATES] = {"", BREAK_LINE_END, LINE_END};
  for (std::size_t state = 0; state < STATES; ++state) {
    const auto [end, afterEnd] = ended[state];
    Steps& steps = steps_[state];
    steps.beforeText = {ShortPiece(opening[state]), &steps_[LINE_HAS_TEXT]};
    steps.atByte[0] = steps.atByte[1] = {ShortPiece(), &steps};
    steps.atByte[2] = {ShortPiece(end), &steps_[afterEnd]};
    steps.atByte[3] = {ShortPiece(std::string(end) + std::string(opening[afterEnd])),
                       &steps_[LINE_HAS_TEXT]};
  }
  state_ = &steps_[AFTER_BREAK];
}

}  // namespace morvel
