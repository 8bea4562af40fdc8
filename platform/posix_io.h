// File descriptors as the engine's byte streams on POSIX, shared by the file system, the
// replacement files and the standard streams.
#pragma once

#include <unistd.h>

#include <cerrno>
#include <optional>
#include <string_view>

#include "engine/outside_world.h"

namespace morvel {

// Writes every byte to `fd`, retrying after interruptions. False on any error.
inline bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t count = write(fd, bytes.data(), bytes.size());
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(count));
  }
  return true;
}

// Reads a descriptor it owns, retrying after interruptions. `version` is the regular file's
// as it was opened, or nothing for a source read once.
class DescriptorReader final : public ByteReader {
 public:
  explicit DescriptorReader(int fd, std::optional<FileVersion> version = std::nullopt)
      : fd_(fd), version_(version) {}
  ~DescriptorReader() override { close(fd_); }
  std::optional<FileVersion> Version() const override { return version_; }
  std::optional<std::size_t> Read(char* buffer, std::size_t capacity) override {
    for (;;) {
      const ssize_t count = read(fd_, buffer, capacity);
      if (count >= 0) return static_cast<std::size_t>(count);
      if (errno != EINTR) return std::nullopt;
    }
  }

 private:
  int fd_;
  std::optional<FileVersion> version_;
};

// Writes a descriptor it owns in place, for what holds nothing that a failure could cost (a
// device, a pipe, standard output): Commit() closes it and reports whether everything got
// there.
class DescriptorWriter final : public ByteWriter {
 public:
  explicit DescriptorWriter(int fd) : fd_(fd) {}
  ~DescriptorWriter() override {
    if (fd_ >= 0) close(fd_);
  }
  bool Write(std::string_view bytes) override { return WriteAll(fd_, bytes); }
  bool IsStream() const override { return true; }
  bool Commit() override {
    const int status = close(fd_);
    fd_ = -1;
    return status == 0;
  }

 private:
  int fd_;
};

}  // namespace morvel
