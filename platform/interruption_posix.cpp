#include "platform/interruption_posix.h"

#include <limits.h>
#include <unistd.h>

#include <cstring>

#include "platform/native_platform.h"

namespace morvel {

namespace {

constexpr int INTERRUPTIONS[] = {SIGINT, SIGTERM, SIGHUP};

// A page and a picture copy at most are written at once; a few more entries cost nothing.
// The signal handler reads the list, so it is plain memory written only while the signals
// are held back.
constexpr int LIST_SIZE = 8;
char temporaries[LIST_SIZE][PATH_MAX];
bool inUse[LIST_SIZE];

sigset_t InterruptionSet() {
  sigset_t set;
  sigemptyset(&set);
  for (const int signal : INTERRUPTIONS) sigaddset(&set, signal);
  return set;
}

// Removes the unfinished files, then dies by the signal itself: a parent (a shell running a
// loop of conversions) sees the process killed by it, not an exit it chose, and stops too.
extern "C" void RemoveTemporariesAndDie(int signal) {
  for (int i = 0; i < LIST_SIZE; ++i) {
    if (inUse[i]) unlink(temporaries[i]);
  }
  struct sigaction standard {};
  standard.sa_handler = SIG_DFL;
  sigemptyset(&standard.sa_mask);
  sigaction(signal, &standard, nullptr);
  sigset_t only;
  sigemptyset(&only);
  sigaddset(&only, signal);
  sigprocmask(SIG_UNBLOCK, &only, nullptr);
  raise(signal);
  // Not reached unless the signal could not end the process.
  _exit(128 + signal);
}

}  // namespace

InterruptionsHeld::InterruptionsHeld() {
  const sigset_t set = InterruptionSet();
  sigprocmask(SIG_BLOCK, &set, &previous_);
}

InterruptionsHeld::~InterruptionsHeld() { sigprocmask(SIG_SETMASK, &previous_, nullptr); }

int RememberTemporary(const std::string& path) {
  if (path.size() >= PATH_MAX) return -1;
  for (int i = 0; i < LIST_SIZE; ++i) {
    if (inUse[i]) continue;
    std::memcpy(temporaries[i], path.c_str(), path.size() + 1);
    inUse[i] = true;
    return i;
  }
  return -1;
}

void ForgetTemporary(int entry) {
  if (entry >= 0 && entry < LIST_SIZE) inUse[entry] = false;
}

void RemoveTemporariesWhenInterrupted() {
  struct sigaction action {};
  action.sa_handler = RemoveTemporariesAndDie;
  action.sa_mask = InterruptionSet();
  for (const int signal : INTERRUPTIONS) {
    // A signal the caller chose to ignore (nohup, a background job) stays ignored.
    struct sigaction current {};
    if (sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_IGN) continue;
    sigaction(signal, &action, nullptr);
  }
}

}  // namespace morvel
