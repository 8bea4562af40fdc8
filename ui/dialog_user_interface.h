// The engine's user interface in the main window: message boxes owned by the dialog (so the
// dialog is disabled while one waits for an answer) and the target path written back into
// its field. The engine's code page 932 texts are converted to UTF-16 explicitly, so they show
// the same on every system language.
#pragma once

#include <windows.h>

#include "engine/morvel.h"

namespace morvel::ui {

class DialogUserInterface final : public UserInterface {
 public:
  explicit DialogUserInterface(HWND dialog) : dialog_(dialog) {}
  int ShowMessage(std::string_view text, std::string_view caption, unsigned style) override;
  void ShowTargetPath(std::string_view path) override;

 private:
  HWND dialog_;
};

}  // namespace morvel::ui
