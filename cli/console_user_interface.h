// The engine's message boxes as lines on a terminal: messages on standard error, the
// completion message on standard output, and the two questions (the extension fix and the
// overwrite) answered by the user at a terminal, or with Cancel when there is nobody to ask (a
// question that --yes or --force answers is not asked). Any other box is a message, whatever its
// buttons.
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

  int ShowMessage(std::string_view text, std::string_view caption, unsigned style) override;
  // The corrected path shows in the completion message; there is no field to update.
  void ShowTargetPath(std::string_view) override {}

  // "morvel-convert: " and the label, the start of every line on standard error.
  std::string ErrorPrefix() const;

 private:
  int Question(std::string_view text, std::string_view caption);

  Console& console_;
  bool quiet_;
  std::string label_;
  std::string nobodyToAsk_;
};

}  // namespace morvel::cli
