#include "cli/checked_console.h"

#include <string>

#include "cli/command_line.h"

namespace morvel::cli {

bool CheckedConsole::Out(std::string_view line) {
  if (console_->Out(line)) return true;
  outputLost_ = true;
  console_->Err(ProgramLine("standard output cannot be written, so its line comes here: " +
                            std::string(line)));
  return false;
}

int CheckedConsole::ExitStatus(int status) const { return outputLost_ ? EXIT_FAILED : status; }

}  // namespace morvel::cli
