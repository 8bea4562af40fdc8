// The engine's questions and messages as lines on a terminal, in the window's words: problems
// on standard error, the completion on standard output, and the questions that OK lets go on
// (the extension fix and the overwrite) answered by the user at a terminal, or with Cancel when
// there is nobody to ask (a question that --yes or --force answers is not asked). A question
// that ends the request whatever the answer (the missing folder) is a line on standard error.
#pragma once

#include <string>
#include <string_view>

#include "cli/console.h"
#include "engine/morvel.h"

namespace morvel::cli {

class ConsoleUserInterface final : public UserInterface {
 public:
  ConsoleUserInterface(Console& console, bool quiet) : console_(console), quiet_(quiet) {}

  // Names the file being converted at the start of every line on standard error (host text;
  // empty for none).
  void SetLabel(std::string label) { label_ = std::move(label); }

  // Questions are answered Cancel even at a terminal, and the line says `reason`.
  void SetNobodyToAsk(std::string reason) { nobodyToAsk_ = std::move(reason); }

  bool Ask(Question question) override;
  void Tell(const Report& report) override;
  void TellCompleted(std::string_view pagePath) override;
  // The corrected path shows in the completion line; there is no field to update.
  void ShowTargetPath(std::string_view) override {}

  // "morvel-convert: " and the label, the start of every line on standard error.
  std::string ErrorPrefix() const;

 private:
  // The message's line on standard error: the prefix, its caption and its text on one line.
  std::string ErrorLine(const Message& message) const;

  Console& console_;
  bool quiet_;
  std::string label_;
  std::string nobodyToAsk_;
};

}  // namespace morvel::cli
