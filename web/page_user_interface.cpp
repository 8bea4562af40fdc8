#include "web/page_user_interface.h"

namespace morvel::web {

bool PageUserInterface::Ask(Question question) {
  Keep(WindowMessage(question));
  return false;
}

void PageUserInterface::TellCompleted(std::string_view pagePath) {
  // The page shows the file name only.
  const std::string folder = targetFolder_ + "\\";
  if (pagePath.starts_with(folder)) pagePath.remove_prefix(folder.size());
  Keep(WindowMessage(Completion{pagePath}));
}

void PageUserInterface::Keep(const Message& message) {
  messages_.push_back({Utf8FromEngineText(message.text), Utf8FromEngineText(message.caption),
                       message.kind == MessageKind::Warning});
}

}  // namespace morvel::web
