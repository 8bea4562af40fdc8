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

// Set from the moment a page is in place until the next conversion begins; meanwhile an
// interruption is held over, as the run is a success by then.
volatile sig_atomic_t pagePlaced = 0;
volatile sig_atomic_t heldOver = 0;

// Dies by `signal` itself: a parent (a shell running a loop of conversions) sees the process
// killed by it, not an exit it chose, and stops too.
void DieBy(int signal) {
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

// Removes the unfinished files, then dies by the signal; once the page is in place, holds the
// signal over instead.
extern "C" void RemoveTemporariesAndDie(int signal) {
  if (pagePlaced) {
    heldOver = signal;
    return;
  }
  for (int i = 0; i < LIST_SIZE; ++i) {
    if (inUse[i]) unlink(temporaries[i]);
  }
  DieBy(signal);
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

void NotePagePlaced() { pagePlaced = 1; }

void StopIfInterrupted() {
  const InterruptionsHeld held;
  if (heldOver) DieBy(heldOver);
  pagePlaced = 0;
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

void ReportRefusedWritesAsFailures() {
  signal(SIGPIPE, SIG_IGN);
  signal(SIGXFSZ, SIG_IGN);
}

}  // namespace morvel
