// Line-break tags: the "<BR>" mode rewrites a line's end; the "<BR>&<P>" mode writes each
// line itself and carries a state from line to line.
#pragma once

#include <string>
#include <string_view>

#include "text/sink.h"

namespace morvel {

// The "<BR>&<P>" mode's memory of the previous line.
inline constexpr int PARAGRAPH_AFTER_BREAK = 0;  // no line yet, or the previous line was empty
inline constexpr int PARAGRAPH_AFTER_TEXT = 1;   // the previous line had text

// Turns a final "\n" of `line` into "<BR>\n"; a line without one is left unchanged.
void TagLineEnd(std::string& line);

// Writes `line` to `page` in the "<BR>&<P>" mode and returns the new state. Without its final
// "\n", an empty line writes "<P>\n" after text and "<BR>\n" otherwise, and returns
// PARAGRAPH_AFTER_BREAK; a line with text (NUL bytes count as text) writes "<BR>" when it
// follows text, then "\n" and the line, and returns PARAGRAPH_AFTER_TEXT.
int WriteParagraphLine(std::string_view line, int paragraphState, Sink& page);

}  // namespace morvel
