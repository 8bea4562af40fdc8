// A terminal in memory: the lines written to each stream, and typed answers for questions.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "cli/console.h"

namespace morvel::testing {

class FakeConsole final : public cli::Console {
 public:
  bool Out(std::string_view line) override {
    out.emplace_back(line);
    return true;
  }
  void Err(std::string_view line) override { err.emplace_back(line); }
  bool CanAsk() override { return isTerminal; }
  std::optional<std::string> Ask(std::string_view prompt) override {
    prompts.emplace_back(prompt);
    if (typed.empty()) return std::nullopt;
    std::string answer = typed.front();
    typed.pop_front();
    return answer;
  }

  bool isTerminal = false;
  std::deque<std::string> typed;  // answers in order; none left is the end of the input
  std::vector<std::string> out;
  std::vector<std::string> err;
  std::vector<std::string> prompts;
};

}  // namespace morvel::testing
