#include "ui/dialog_user_interface.h"

#include "platform/wide_text_win.h"
#include "ui/resources/resource_ids.h"

namespace morvel::ui {

int DialogUserInterface::ShowMessage(std::string_view text, std::string_view caption,
                                     unsigned style) {
  const int answer = MessageBoxW(dialog_, Widen(text).c_str(), Widen(caption).c_str(), style);
  return answer == IDOK ? ANSWER_OK : ANSWER_CANCEL;
}

void DialogUserInterface::ShowTargetPath(std::string_view path) {
  SetDlgItemTextW(dialog_, IDC_TARGET_PATH, Widen(path).c_str());
}

}  // namespace morvel::ui
