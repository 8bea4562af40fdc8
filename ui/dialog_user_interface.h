// The engine's user interface in the main window: message boxes owned by the dialog (so the
// dialog is disabled while one waits for an answer) and the target path written back into
// its field. The engine's code page 932 texts are converted to UTF-16 explicitly, so they show
// the same on every system language.
#pragma once

#include <windows.h>

#include "engine/morvel.h"

namespace morvel::ui {

// The message box style of `message`: a warning icon or none, OK or OK and Cancel.
UINT BoxStyle(const Message& message);

class DialogUserInterface final : public UserInterface {
 public:
  explicit DialogUserInterface(HWND dialog) : dialog_(dialog) {}
  bool Ask(Question question) override;
  void Tell(const Report& report) override;
  void TellCompleted(std::string_view pagePath) override;
  void ShowTargetPath(std::string_view path) override;

 private:
  // Shows the box and returns the button that closed it.
  int Show(const Message& message);

  HWND dialog_;
};

}  // namespace morvel::ui
