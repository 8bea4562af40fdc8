// A console whose standard output is checked: a line that cannot be written there (a closed or
// full standard output) is written to standard error instead, so that the user still learns
// what it said, and the run's exit status then says that something failed.
#pragma once

#include <memory>

#include "cli/console.h"

namespace morvel::cli {

class CheckedConsole final : public Console {
 public:
  explicit CheckedConsole(std::unique_ptr<Console> console) : console_(std::move(console)) {}

  bool Out(std::string_view line) override;
  void Err(std::string_view line) override { console_->Err(line); }
  bool CanAsk() override { return console_->CanAsk(); }
  std::optional<std::string> Ask(std::string_view prompt) override { return console_->Ask(prompt); }

  // `status`, or EXIT_FAILED once a line could not be written to standard output. A page the
  // line was about stays: it was complete before its line was written.
  int ExitStatus(int status) const;

 private:
  std::unique_ptr<Console> console_;
  bool outputLost_ = false;
};

}  // namespace morvel::cli
