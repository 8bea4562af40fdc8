#include "engine/text_body_line_ends.h"

#include <string>

namespace morvel {

namespace {

constexpr std::string_view LINE_END = "\r\n";
constexpr std::string_view BREAK_LINE_END = "<BR>\r\n";
constexpr std::string_view PARAGRAPH_LINE_END = "<P>\r\n";

}  // namespace

LineEnds::LineEnds(LineTags tags) {
  if (tags != LineTags::Paragraphs) {
    // One state, and the same bytes at every line end.
    const ShortPiece end(tags == LineTags::None ? LINE_END : BREAK_LINE_END);
    state_ = State::LineHasText;
    for (auto& steps : atLineEnd_) steps = {Step{end}, Step{end}};
    beforeText_.fill(Step{});
    return;
  }
  state_ = State::AfterBreak;
  // The line that ends: an open line needs nothing more; an empty one is written whole.
  const Step ended[3] = {
      {ShortPiece(), State::AfterText},                     // LineHasText
      {ShortPiece(PARAGRAPH_LINE_END), State::AfterBreak},  // AfterText
      {ShortPiece(BREAK_LINE_END), State::AfterBreak},      // AfterBreak
  };
  // The opening of a line, by what came before it.
  beforeText_ = {Step{ShortPiece(), State::LineHasText},
                 Step{ShortPiece(BREAK_LINE_END), State::LineHasText},
                 Step{ShortPiece(LINE_END), State::LineHasText}};
  for (std::size_t state = 0; state < 3; ++state) {
    const Step& end = ended[state];
    const Step& open = beforeText_[Index(end.next)];
    atLineEnd_[state][0] = end;
    atLineEnd_[state][1] = {
        ShortPiece(std::string(end.bytes.View()) + std::string(open.bytes.View())), open.next};
  }
}

}  // namespace morvel
