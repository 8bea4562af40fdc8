// Standard input and output as the engine's byte streams on POSIX.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/native_platform.h"
#include "platform/posix_io.h"

namespace morvel {

// Each stream is a duplicate descriptor of its own, closed with the stream.
std::unique_ptr<ByteReader> OpenStandardInput() {
  const int fd = fcntl(STDIN_FILENO, F_DUPFD_CLOEXEC, 0);
  if (fd < 0) return nullptr;
  return std::make_unique<DescriptorReader>(fd);
}

// The page reaches standard output as it is written; there is no older version to keep.
std::unique_ptr<ByteWriter> OpenStandardOutput() {
  const int fd = fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 0);
  if (fd < 0) return nullptr;
  return std::make_unique<DescriptorWriter>(fd);
}

namespace {

std::optional<FileIdentity> IdentityOfDescriptor(int fd) {
  struct stat info {};
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  return FileIdentity{static_cast<std::uint64_t>(info.st_dev),
                      static_cast<std::uint64_t>(info.st_ino)};
}

}  // namespace

std::optional<FileIdentity> StandardInputIdentity() { return IdentityOfDescriptor(STDIN_FILENO); }

std::optional<FileIdentity> StandardOutputIdentity() { return IdentityOfDescriptor(STDOUT_FILENO); }

}  // namespace morvel
