#include "platform/write_behind_win.h"

#include "platform/handle_io_win.h"

namespace morvel {

WriteBehind::WriteBehind() {
  InitializeCriticalSection(&lock_);
  InitializeConditionVariable(&changed_);
}

WriteBehind::~WriteBehind() {
  Stop();
  DeleteCriticalSection(&lock_);
}

void WriteBehind::Begin(HANDLE handle, std::string_view bytes) {
  if (thread_ == nullptr) {
    thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
    if (thread_ == nullptr) {
      written_ = WriteAll(handle, bytes);
      return;
    }
  }
  EnterCriticalSection(&lock_);
  handle_ = handle;
  block_ = bytes;
  pending_ = true;
  LeaveCriticalSection(&lock_);
  WakeAllConditionVariable(&changed_);
}

bool WriteBehind::Wait() {
  EnterCriticalSection(&lock_);
  while (pending_) SleepConditionVariableCS(&changed_, &lock_, INFINITE);
  const bool written = written_;
  LeaveCriticalSection(&lock_);
  return written;
}

void WriteBehind::Stop() {
  if (thread_ == nullptr) return;
  EnterCriticalSection(&lock_);
  stopping_ = true;
  LeaveCriticalSection(&lock_);
  WakeAllConditionVariable(&changed_);
  WaitForSingleObject(thread_, INFINITE);
  CloseHandle(thread_);
  thread_ = nullptr;
}

DWORD WINAPI WriteBehind::Run(void* self) {
  auto& behind = *static_cast<WriteBehind*>(self);
  EnterCriticalSection(&behind.lock_);
  for (;;) {
    while (!behind.pending_ && !behind.stopping_) {
      SleepConditionVariableCS(&behind.changed_, &behind.lock_, INFINITE);
    }
    if (!behind.pending_) break;
    const HANDLE handle = behind.handle_;
    const std::string_view block = behind.block_;
    LeaveCriticalSection(&behind.lock_);
    const bool written = WriteAll(handle, block);
    EnterCriticalSection(&behind.lock_);
    behind.written_ = written;
    behind.pending_ = false;
    WakeAllConditionVariable(&behind.changed_);
  }
  LeaveCriticalSection(&behind.lock_);
  return 0;
}

}  // namespace morvel
