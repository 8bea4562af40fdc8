// A scratch on POSIX: an unnamed file in the temporary folder ($TMPDIR, or /tmp), so that a
// whole text kept aside costs disk, not memory, and vanishes with the process however it ends.
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/posix_io.h"
#include "platform/scratch_file.h"

namespace morvel {

namespace {

class ScratchFile final : public Scratch {
 public:
  explicit ScratchFile(int fd) : fd_(fd) {}
  ~ScratchFile() override { close(fd_); }
  bool Append(std::string_view bytes) override { return WriteAll(fd_, bytes); }
  std::optional<std::size_t> ReadAt(std::uint64_t offset, char* buffer,
                                    std::size_t capacity) override {
    for (;;) {
      const ssize_t count = pread(fd_, buffer, capacity, static_cast<off_t>(offset));
      if (count >= 0) return static_cast<std::size_t>(count);
      if (errno != EINTR) return std::nullopt;
    }
  }

 private:
  int fd_;  // opened for appending, so writes always go to the end
};

int OpenUnnamed(const std::string& folder) {
#ifdef O_TMPFILE
  const int fd = open(folder.c_str(), O_TMPFILE | O_RDWR | O_APPEND | O_CLOEXEC, 0600);
  if (fd >= 0) return fd;
#endif
  // Without unnamed files: a named one, removed at once.
  std::string pattern = folder + "/.morvel-scratch-XXXXXX";
  const int named = mkostemp(pattern.data(), O_APPEND | O_CLOEXEC);
  if (named >= 0) unlink(pattern.c_str());
  return named;
}

}  // namespace

std::unique_ptr<Scratch> OpenScratchFile() {
  const char* folder = getenv("TMPDIR");
  const int fd = OpenUnnamed(folder && *folder ? folder : "/tmp");
  if (fd < 0) return nullptr;
  return std::make_unique<ScratchFile>(fd);
}

}  // namespace morvel
