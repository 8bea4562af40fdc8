// Writing a page behind the writer on Windows: a block goes to its handle on a thread of its
// own while the writer makes the next one, so that the system's copy of one block runs beside
// the making of the next.
#pragma once

#include <windows.h>

#include <string_view>

namespace morvel {

// One block under way at a time. The thread starts with the first block and ends with this
// object. Where no thread can be started, a block is written at once.
class WriteBehind {
 public:
  WriteBehind();
  ~WriteBehind();
  WriteBehind(const WriteBehind&) = delete;
  WriteBehind& operator=(const WriteBehind&) = delete;

  // Begins to write every byte of `bytes` to `handle`; the block before has been waited for.
  // `bytes` stay as they are until Wait() returns.
  void Begin(HANDLE handle, std::string_view bytes);
  // Waits for the block begun last: false when it could not all be written.
  bool Wait();
  // Waits for the block under way and ends the thread: nothing touches the handle after.
  void Stop();

 private:
  static DWORD WINAPI Run(void* self);

  CRITICAL_SECTION lock_;
  CONDITION_VARIABLE changed_;
  HANDLE handle_ = INVALID_HANDLE_VALUE;
  std::string_view block_;
  bool pending_ = false;  // a block is handed over and not written yet
  bool written_ = true;
  bool stopping_ = false;
  HANDLE thread_ = nullptr;
};

}  // namespace morvel
