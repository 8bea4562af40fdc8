// Writing a page behind the writer on POSIX: a block goes to its descriptor on a thread of its
// own while the writer makes the next one, so that the system's copy of one block runs beside
// the making of the next.
#pragma once

#include <condition_variable>
#include <mutex>
#include <string_view>
#include <thread>

namespace morvel {

// One block under way at a time. The thread starts with the first block and ends with this
// object; it takes no signals, which stay with the threads that handle them. Where no thread
// can be started, a block is written at once.
class WriteBehind {
 public:
  WriteBehind() = default;
  ~WriteBehind() { Stop(); }
  WriteBehind(const WriteBehind&) = delete;
  WriteBehind& operator=(const WriteBehind&) = delete;

  // Begins to write every byte of `bytes` to `fd`; the block before has been waited for.
  // `bytes` stay as they are until Wait() returns.
  void Begin(int fd, std::string_view bytes);
  // Waits for the block begun last: false when it could not all be written.
  bool Wait();
  // Waits for the block under way and ends the thread: nothing touches the descriptor after.
  void Stop();

 private:
  void Run();

  std::mutex mutex_;
  std::condition_variable changed_;
  int fd_ = -1;
  std::string_view block_;
  bool pending_ = false;  // a block is handed over and not written yet
  bool written_ = true;
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace morvel
