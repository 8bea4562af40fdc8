// What the engine says, kept for the web page to show in its own dialog once the conversion has
// returned: each message in the window's words, in UTF-8. The window's two questions (the
// ".htm" fix and replacing a page) never arise there, since the page names its downloads
// itself; should any question come, it is answered Cancel, so nothing is written.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/morvel.h"

namespace morvel::web {

struct PageMessage {
  std::string text;     // UTF-8
  std::string caption;  // UTF-8
  bool warning = true;  // a warning, otherwise information (the completion)
};

class PageUserInterface final : public UserInterface {
 public:
  // `targetFolder`: the folder of the pages written, left out of the path that the completion
  // message shows (the browser, not the engine, decides where a download lands).
  explicit PageUserInterface(std::string_view targetFolder) : targetFolder_(targetFolder) {}

  bool Ask(Question question) override;
  void Tell(const Report& report) override { Keep(WindowMessage(report)); }
  void TellCompleted(std::string_view pagePath) override;
  // The page has no field for the target's path.
  void ShowTargetPath(std::string_view) override {}

  const std::vector<PageMessage>& Messages() const { return messages_; }
  void Clear() { messages_.clear(); }

 private:
  void Keep(const Message& message);

  std::string targetFolder_;
  std::vector<PageMessage> messages_;
};

}  // namespace morvel::web
