// Small POSIX helpers that the file system's readers and writers share.
#pragma once

#include <unistd.h>

#include <cerrno>
#include <string_view>

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

}  // namespace morvel
