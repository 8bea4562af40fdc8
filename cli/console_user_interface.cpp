#include "cli/console_user_interface.h"

#include "cli/command_line.h"
#include "cli/host.h"

namespace morvel::cli {

namespace {

// A message's text on one line: its line breaks become spaces.
std::string OneLine(std::string_view engineText) {
  std::string line = ToHostText(engineText);
  for (char& c : line) {
    if (c == '\n') c = ' ';
  }
  return line;
}

bool IsYes(std::string_view answer) {
  while (!answer.empty() && (answer.back() == '\r' || answer.back() == ' ')) {
    answer.remove_suffix(1);
  }
  return answer == "y" || answer == "Y" || answer == "yes" || answer == "Yes" || answer == "YES";
}

}  // namespace

std::string ConsoleUserInterface::ErrorPrefix() const {
  return ProgramLine(label_.empty() ? std::string() : label_ + ": ");
}

std::string ConsoleUserInterface::ErrorLine(const Message& message) const {
  return ErrorPrefix() + ToHostText(message.caption) + ": " + OneLine(message.text);
}

bool ConsoleUserInterface::Ask(Question question) {
  const std::string line = ErrorLine(WindowMessage(question));
  if (!OkGoesOn(question)) {
    console_.Err(line);
    return false;
  }
  if (nobodyToAsk_.empty() && console_.CanAsk()) {
    const auto answer = console_.Ask(line + " [y/N] ");
    return answer && IsYes(*answer);
  }
  const std::string reason = nobodyToAsk_.empty() ? "no terminal to ask" : nobodyToAsk_;
  console_.Err(line + " -- " + reason + ", so the answer is Cancel (" +
               std::string(OptionAnswering(question)) + " answers OK)");
  return false;
}

void ConsoleUserInterface::Tell(const Report& report) {
  console_.Err(ErrorLine(WindowMessage(report)));
}

// The page's path is shown as it is spelt on this system.
void ConsoleUserInterface::TellCompleted(std::string_view pagePath) {
  if (quiet_) return;
  const std::string shownPath = ToEngineText(DisplayPath(pagePath)).value_or(std::string(pagePath));
  const Message message = WindowMessage(Completion{shownPath});
  console_.Out(ToHostText(message.caption) + ": " + ToHostText(message.text));
}

}  // namespace morvel::cli
