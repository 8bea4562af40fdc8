// A slow, literal reference of the line rules for tests and the fuzzer: every
// replacement rebuilds the whole line, as the rules are written, one at a time. It shares no
// code with text/ and is compiled by clang for the fuzzer too, so it holds no Japanese
// literals. NUL bytes are ordinary data here, as in the page writer.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace morvel::oracle {

// Rebuilds `buffer` with `replacement` in place of the byte at `position` when that byte is
// `wanted`; a position outside the buffer changes nothing.
void ReplaceCharAt(std::string& buffer, char wanted, const std::string& replacement,
                   std::size_t position);

// The start of every occurrence of `pattern` found by a byte-by-byte search that drops a
// partial match at the byte that breaks it, except that a lead byte and the byte after it are
// skipped together; -1 ends the list.
std::vector<long> FindAllOccurrences(const std::string& text, const std::string& pattern);

// Walks the line position by position; at each, tries "&", "\"", "<", ">" (when
// `escapeSpecials` is on) and then the tab, each against the byte standing there now.
std::string EscapeLine(std::string line, bool escapeSpecials);

// Lists every "http://" with FindAllOccurrences(), then wraps each listed address in turn, shifting
// the later offsets by the growth so far. An offset inside the address just wrapped is passed over.
std::string LinkAddresses(std::string line);

// Replaces the last byte by "<BR>\n" when it is "\n".
std::string TagLineEnd(std::string line);

// Appends what the "<BR>&<P>" mode writes for `line` to `page`; returns the new state.
int WriteParagraphLine(std::string line, int paragraphState, std::string& page);

// Every line through the transforms chosen by the switches, as the page gets them.
struct Switches {
  bool escapeSpecials = true;
  bool autoLinkEnabled = true;
  bool lineTagsEnabled = true;
  bool breaksOnly = false;  // the "<BR>" mode, not the "<BR>&<P>" mode
};
class Pipeline {
 public:
  explicit Pipeline(Switches switches) : switches_(switches) {}
  void WriteLine(std::string_view line, std::string& page);

 private:
  Switches switches_;
  int paragraphState_ = 0;
};

// The page bytes of a whole text as a file holds it: split after each "\n", a CR LF line end
// taken as "\n", every line through Pipeline, and every "\n" written out as CR LF.
std::string PageOfText(std::string_view text, Switches switches);

}  // namespace morvel::oracle
