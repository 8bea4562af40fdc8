#include "ui/dialog_user_interface.h"

#include <string>

#include "ui/resources/resource_ids.h"

namespace morvel::ui {

int DialogUserInterface::ShowMessage(std::string_view text, std::string_view caption,
                                     unsigned style) {
  const std::string textZ(text);
  const std::string captionZ(caption);
  const int answer = MessageBoxA(dialog_, textZ.c_str(), captionZ.c_str(), style);
  return answer == IDOK ? ANSWER_OK : ANSWER_CANCEL;
}

void DialogUserInterface::ShowTargetPath(std::string_view path) {
  SetDlgItemTextA(dialog_, IDC_TARGET_PATH, std::string(path).c_str());
}

}  // namespace morvel::ui
