// Standard input and output as the engine's byte streams on POSIX.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/native_platform.h"
#include "platform/posix_io.h"

namespace morvel {

namespace {

// Each stream is a duplicate descriptor of its own, closed with the stream.
class StandardInput final : public ByteReader {
 public:
  explicit StandardInput(int fd) : fd_(fd) {}
  ~StandardInput() override { close(fd_); }
  std::optional<std::size_t> Read(char* buffer, std::size_t capacity) override {
    for (;;) {
      const ssize_t count = read(fd_, buffer, capacity);
      if (count >= 0) return static_cast<std::size_t>(count);
      if (errno != EINTR) return std::nullopt;
    }
  }

 private:
  int fd_;
};

// The page reaches standard output as it is written; there is no older version to keep, so
// Commit() only reports whether everything got there.
class StandardOutput final : public ByteWriter {
 public:
  explicit StandardOutput(int fd) : fd_(fd) {}
  ~StandardOutput() override {
    if (fd_ >= 0) close(fd_);
  }
  bool Write(std::string_view bytes) override { return WriteAll(fd_, bytes); }
  bool Commit() override {
    const bool closed = close(fd_) == 0;
    fd_ = -1;
    return closed;
  }

 private:
  int fd_;
};

}  // namespace

std::unique_ptr<ByteReader> OpenStandardInput() {
  const int fd = fcntl(STDIN_FILENO, F_DUPFD_CLOEXEC, 0);
  if (fd < 0) return nullptr;
  return std::make_unique<StandardInput>(fd);
}

std::unique_ptr<ByteWriter> OpenStandardOutput() {
  const int fd = fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 0);
  if (fd < 0) return nullptr;
  return std::make_unique<StandardOutput>(fd);
}

}  // namespace morvel
