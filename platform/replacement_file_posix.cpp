#include "platform/replacement_file_posix.h"

#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/posix_io.h"

namespace morvel {

namespace {

std::string FolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string HiddenTemporaryPath(const std::string& path) {
  const auto slash = path.rfind('/');
  const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  std::string hidden = path.substr(0, nameStart);
  hidden += '.';
  hidden.append(path, nameStart);
  hidden.append(TEMPORARY_SUFFIX);
  return hidden;
}

// The file that `path` stands for: a symbolic link leads to the file it names, even one that
// does not exist yet.
std::string FollowLinks(std::string path) {
  for (int depth = 0; depth < 40; ++depth) {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
    char target[PATH_MAX];
    const ssize_t length = readlink(path.c_str(), target, sizeof target);
    if (length <= 0 || static_cast<std::size_t>(length) >= sizeof target) return path;
    std::string next(target, static_cast<std::size_t>(length));
    path = next.front() == '/' ? next : FolderOf(path) + "/" + next;
  }
  return path;
}

class ReplacementFile final : public ByteWriter {
 public:
  // `named` is false for an unnamed (O_TMPFILE) file, true for the hidden temporary file.
  ReplacementFile(int fd, std::string target, bool named)
      : fd_(fd),
        target_(std::move(target)),
        temporary_(HiddenTemporaryPath(target_)),
        named_(named) {}

  ~ReplacementFile() override {
    if (fd_ >= 0) close(fd_);
    if (named_) unlink(temporary_.c_str());
  }

  bool Write(std::string_view bytes) override { return WriteAll(fd_, bytes); }

  bool Commit() override {
    if (!named_ && !GiveName()) return false;
    const int status = close(fd_);
    fd_ = -1;
    if (status != 0) return false;
    if (!named_) return true;  // linked straight under the page's name
    if (rename(temporary_.c_str(), target_.c_str()) != 0) return false;
    named_ = false;
    return true;
  }

 private:
  // Gives the unnamed file a name: the page's own when there is no page yet (a new page
  // appears whole or not at all), otherwise the hidden temporary name, renamed over the page
  // by Commit().
  bool GiveName() {
    const std::string self = "/proc/self/fd/" + std::to_string(fd_);
    if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, target_.c_str(), AT_SYMLINK_FOLLOW) == 0) {
      return true;
    }
    if (errno != EEXIST) return false;
    unlink(temporary_.c_str());
    if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temporary_.c_str(), AT_SYMLINK_FOLLOW) != 0) {
      return false;
    }
    named_ = true;
    return true;
  }

  int fd_;
  std::string target_;
  std::string temporary_;
  bool named_;
};

// An unnamed file in `folder`, or -1 where the system or the file system has none (the
// caller then uses a named one).
int OpenUnnamed(const std::string& folder) {
#ifdef O_TMPFILE
  // Naming it later goes through /proc.
  if (access("/proc/self/fd", X_OK) != 0) return -1;
  return open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
#else
  (void)folder;
  return -1;
#endif
}

// A file that must not replace anything: unnamed until Commit() links it under its name, or,
// where there are no unnamed files, created under its name and removed unless committed.
class NewFile final : public ByteWriter {
 public:
  NewFile(int fd, std::string path, bool named) : fd_(fd), path_(std::move(path)), named_(named) {}
  ~NewFile() override {
    if (fd_ >= 0) close(fd_);
    if (named_ && !committed_) unlink(path_.c_str());
  }
  bool Write(std::string_view bytes) override { return WriteAll(fd_, bytes); }
  bool Commit() override {
    int linkError = 0;
    if (!named_) {
      const std::string self = "/proc/self/fd/" + std::to_string(fd_);
      if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path_.c_str(), AT_SYMLINK_FOLLOW) != 0) {
        linkError = errno;
      }
    }
    const int status = close(fd_);
    fd_ = -1;
    if (linkError != 0) {
      errno = linkError;
      return false;
    }
    committed_ = status == 0;
    if (!committed_ && !named_) unlink(path_.c_str());
    return committed_;
  }

 private:
  int fd_;
  std::string path_;
  bool named_;
  bool committed_ = false;
};

}  // namespace

std::unique_ptr<ByteWriter> OpenNewFile(const std::string& path) {
  int fd = OpenUnnamed(FolderOf(path));
  const bool named = fd < 0;
  if (named) fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
  if (fd < 0) return nullptr;
  return std::make_unique<NewFile>(fd, path, named);
}

std::unique_ptr<ByteWriter> OpenReplacement(const std::string& path, TemporaryKind kind) {
  const std::string target = FollowLinks(path);
  struct stat old {};
  const bool exists = stat(target.c_str(), &old) == 0;
  if (exists && S_ISDIR(old.st_mode)) return nullptr;
  if (exists && !S_ISREG(old.st_mode)) {
    const int fd = open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return nullptr;
    return std::make_unique<DescriptorWriter>(fd);
  }
  if (exists) {
    // A page the user may not write is refused, though its folder would take a new file that
    // replaces it; opening it without O_TRUNC changes nothing.
    const int probe = open(target.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (probe < 0) return nullptr;
    close(probe);
  }

  const std::string temporary = HiddenTemporaryPath(target);
  unlink(temporary.c_str());  // left by a run that was killed between naming and renaming
  bool named = false;
  int fd = kind == TemporaryKind::UnnamedWherePossible ? OpenUnnamed(FolderOf(target)) : -1;
  if (fd < 0) {
    fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
    named = true;
  }
  if (fd < 0) return nullptr;
  if (exists) {
    // Best effort: an owner other than the writer's can only be kept by root.
    fchmod(fd, old.st_mode & 07777);
    if (old.st_uid != geteuid() || old.st_gid != getegid()) {
      [[maybe_unused]] const int ignored = fchown(fd, old.st_uid, old.st_gid);
    }
  }
  return std::make_unique<ReplacementFile>(fd, target, named);
}

}  // namespace morvel
