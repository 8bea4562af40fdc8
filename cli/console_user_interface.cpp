#include "cli/console_user_interface.h"

#include "cli/command_line.h"
#include "cli/host.h"
#include "engine/messages.h"

namespace morvel::cli {

namespace {

// A message box's text on one line: its line breaks become spaces.
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
  std::string prefix(PROGRAM_NAME);
  prefix += ": ";
  if (!label_.empty()) prefix += label_ + ": ";
  return prefix;
}

// The buttons of a box do not matter here: its text says whether it asks.
int ConsoleUserInterface::ShowMessage(std::string_view text, std::string_view caption,
                                      unsigned /*style*/) {
  if (text == messages::ASK_FIX_EXTENSION || text == messages::ASK_OVERWRITE) {
    return Question(text, caption);
  }

  // The completion message is the page's path followed by a fixed text; the path is shown as
  // it is spelt on this system.
  if (caption == messages::CAPTION_COMPLETED && text.ends_with(messages::COMPLETED_SUFFIX)) {
    if (quiet_) return ANSWER_OK;
    const std::string_view path = text.substr(0, text.size() - messages::COMPLETED_SUFFIX.size());
    console_.Out(ToHostText(caption) + ": " + DisplayPath(path) +
                 ToHostText(messages::COMPLETED_SUFFIX));
    return ANSWER_OK;
  }
  console_.Err(ErrorPrefix() + ToHostText(caption) + ": " + OneLine(text));
  return ANSWER_OK;
}

int ConsoleUserInterface::Question(std::string_view text, std::string_view caption) {
  const bool extension = text == messages::ASK_FIX_EXTENSION;
  const std::string_view option = extension ? "--yes" : "--force";

  const std::string question = ErrorPrefix() + ToHostText(caption) + ": " + OneLine(text);
  if (nobodyToAsk_.empty() && console_.CanAsk()) {
    const auto answer = console_.Ask(question + " [y/N] ");
    return answer && IsYes(*answer) ? ANSWER_OK : ANSWER_CANCEL;
  }
  const std::string reason = nobodyToAsk_.empty() ? "no terminal to ask" : nobodyToAsk_;
  console_.Err(question + " -- " + reason + ", so the answer is Cancel (" + std::string(option) +
               " answers OK)");
  return ANSWER_CANCEL;
}

}  // namespace morvel::cli
