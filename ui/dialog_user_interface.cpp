#include "ui/dialog_user_interface.h"

#include "platform/wide_text_win.h"
#include "ui/resources/resource_ids.h"

namespace morvel::ui {

// The completion informs without an icon, as the window always showed it.
UINT BoxStyle(const Message& message) {
  const UINT icon = message.kind == MessageKind::Warning ? MB_ICONWARNING : 0;
  return icon | (message.buttons == MessageButtons::OkCancel ? MB_OKCANCEL : MB_OK);
}

int DialogUserInterface::Show(const Message& message) {
  return MessageBoxW(dialog_, Widen(message.text).c_str(), Widen(message.caption).c_str(),
                     BoxStyle(message));
}

bool DialogUserInterface::Ask(Question question) { return Show(WindowMessage(question)) == IDOK; }

void DialogUserInterface::Tell(const Report& report) { Show(WindowMessage(report)); }

void DialogUserInterface::TellCompleted(std::string_view pagePath) {
  Show(WindowMessage(Completion{pagePath}));
}

void DialogUserInterface::ShowTargetPath(std::string_view path) {
  SetDlgItemTextW(dialog_, IDC_TARGET_PATH, Widen(path).c_str());
}

}  // namespace morvel::ui
