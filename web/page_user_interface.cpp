#include "web/page_user_interface.h"

#include "engine/engine_text.h"
#include "engine/messages.h"

namespace morvel::web {

int PageUserInterface::ShowMessage(std::string_view text, std::string_view caption,
                                   unsigned style) {
  // The completion message starts with the page's path: the page shows its file name only.
  const std::string folder = targetFolder_ + "\\";
  if (caption == messages::CAPTION_COMPLETED && text.starts_with(folder)) {
    text.remove_prefix(folder.size());
  }
  messages_.push_back({Utf8FromEngineText(text), Utf8FromEngineText(caption), style});
  return (style & BOX_OKCANCEL) != 0 ? ANSWER_CANCEL : ANSWER_OK;
}

}  // namespace morvel::web
