// The converter's terminal: two output streams and, when there is someone to ask, answers
// typed on standard input. All text is host text (UTF-8); each stream shows it in the
// terminal's own encoding.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace morvel::cli {

class Console {
 public:
  virtual ~Console() = default;
  // Writes `line` and a line end to standard output or standard error. Out() is false when the
  // line did not get there (a closed or full standard output).
  virtual bool Out(std::string_view line) = 0;
  virtual void Err(std::string_view line) = 0;
  // True when standard input is a terminal, so that a question can be asked there.
  virtual bool CanAsk() = 0;
  // Shows `prompt` on standard error without a line end and reads one line of the answer;
  // nothing at the end of the input.
  virtual std::optional<std::string> Ask(std::string_view prompt) = 0;
};

}  // namespace morvel::cli
