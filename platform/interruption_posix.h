// The temporary files a process is writing, removed when it is interrupted: SIGINT, SIGTERM or
// SIGHUP removes them before the process dies by that signal (see
// RemoveTemporariesWhenInterrupted() in native_platform.h).
#pragma once

#include <signal.h>

#include <string>

namespace morvel {

// Holds back the interrupting signals for its lifetime, so that a file is never created,
// renamed or removed without the list below knowing it.
class InterruptionsHeld {
 public:
  InterruptionsHeld();
  ~InterruptionsHeld();
  InterruptionsHeld(const InterruptionsHeld&) = delete;
  InterruptionsHeld& operator=(const InterruptionsHeld&) = delete;

 private:
  sigset_t previous_;
};

// Adds `path` (absolute, or relative to a current folder that never changes) to the files
// removed on an interruption and returns its entry for ForgetTemporary(); -1 when the list is
// full. Call both while InterruptionsHeld.
int RememberTemporary(const std::string& path);
void ForgetTemporary(int entry);

// The page is in place: until StopIfInterrupted() (native_platform.h), an interruption no longer
// ends the run. Call while InterruptionsHeld, together with the step that placed the page.
void NotePagePlaced();

}  // namespace morvel
