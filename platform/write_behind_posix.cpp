#include "platform/write_behind_posix.h"

#include <signal.h>

#include <system_error>

#include "platform/posix_io.h"

namespace morvel {

void WriteBehind::Begin(int fd, std::string_view bytes) {
  if (!thread_.joinable()) {
    // The thread is made with every signal blocked, and keeps them so.
    sigset_t all;
    sigset_t previous;
    sigfillset(&all);
    pthread_sigmask(SIG_BLOCK, &all, &previous);
    try {
      thread_ = std::thread([this] { Run(); });
    } catch (const std::system_error&) {
    }
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    if (!thread_.joinable()) {
      written_ = WriteAll(fd, bytes);
      return;
    }
  }
  {
    const std::lock_guard lock(mutex_);
    fd_ = fd;
    block_ = bytes;
    pending_ = true;
  }
  changed_.notify_all();
}

bool WriteBehind::Wait() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return !pending_; });
  return written_;
}

void WriteBehind::Stop() {
  if (!thread_.joinable()) return;
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

void WriteBehind::Run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return pending_ || stopping_; });
    if (!pending_) return;
    const int fd = fd_;
    const std::string_view block = block_;
    lock.unlock();
    const bool written = WriteAll(fd, block);
    lock.lock();
    written_ = written;
    pending_ = false;
    changed_.notify_all();
  }
}

}  // namespace morvel
