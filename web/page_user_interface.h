// The engine's message boxes in the web page: each message is kept, in UTF-8, for the page to
// show in its own dialog once the conversion has returned. The window's two questions (the
// ".htm" fix and replacing a page) never arise there, since the page names its downloads
// itself; should any question come, it is answered Cancel, so nothing is written.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/outside_world.h"

namespace morvel::web {

struct PageMessage {
  std::string text;     // UTF-8
  std::string caption;  // UTF-8
  unsigned style = 0;   // BOX_* values
};

class PageUserInterface final : public UserInterface {
 public:
  // `targetFolder`: the folder of the pages written, left out of the path that the completion
  // message shows (the browser, not the engine, decides where a download lands).
  explicit PageUserInterface(std::string_view targetFolder) : targetFolder_(targetFolder) {}

  int ShowMessage(std::string_view text, std::string_view caption, unsigned style) override;
  // The page has no field for the target's path.
  void ShowTargetPath(std::string_view) override {}

  const std::vector<PageMessage>& Messages() const { return messages_; }
  void Clear() { messages_.clear(); }

 private:
  std::string targetFolder_;
  std::vector<PageMessage> messages_;
};

}  // namespace morvel::web
