#include "platform/replacement_file_posix.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cstring>
#include <optional>
#include <vector>

#include "platform/interruption_posix.h"
#include "platform/posix_io.h"

namespace morvel {

namespace {

std::string FolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The file that `path` stands for: a symbolic link leads to the file it names, even one that
// does not exist yet. Nothing for a chain of links that never ends (a loop).
std::optional<std::string> FollowLinks(std::string path) {
  for (int depth = 0; depth < 40; ++depth) {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
    char target[PATH_MAX];
    const ssize_t length = readlink(path.c_str(), target, sizeof target);
    if (length <= 0 || static_cast<std::size_t>(length) >= sizeof target) return std::nullopt;
    std::string next(target, static_cast<std::size_t>(length));
    path = next.front() == '/' ? next : FolderOf(path) + "/" + next;
  }
  return std::nullopt;
}

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// True while `path` is the file open at `fd`.
bool NameStillLeadsTo(const std::string& path, int fd) {
  struct stat named {
  }, open{};
  return lstat(path.c_str(), &named) == 0 && fstat(fd, &open) == 0 && SameFile(named, open);
}

// The file that each run writes its page to holds an exclusive lock for as long as it is
// open. A file of the temporary shape that nobody holds was left by a run that was killed
// outright, and is removed. Only regular files are looked at; a folder, link or pipe that
// stands at such a name is neither followed nor removed.
void RemoveAbandonedTemporaries(const std::string& folder) {
  DIR* listing = opendir(folder.c_str());
  if (!listing) return;
  const int folderFd = dirfd(listing);
  while (const dirent* entry = readdir(listing)) {
    if (!IsTemporaryName(entry->d_name)) continue;
    struct stat named {};
    if (fstatat(folderFd, entry->d_name, &named, AT_SYMLINK_NOFOLLOW) != 0 ||
        !S_ISREG(named.st_mode)) {
      continue;
    }
    constexpr int OPEN_FLAGS = O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY;
    int fd = openat(folderFd, entry->d_name, O_RDONLY | OPEN_FLAGS);
    if (fd < 0) fd = openat(folderFd, entry->d_name, O_WRONLY | OPEN_FLAGS);
    if (fd < 0) continue;
    struct stat open {
    }, again{};
    if (fstat(fd, &open) == 0 && SameFile(open, named) && flock(fd, LOCK_EX | LOCK_NB) == 0 &&
        fstatat(folderFd, entry->d_name, &again, AT_SYMLINK_NOFOLLOW) == 0 &&
        SameFile(again, open)) {
      unlinkat(folderFd, entry->d_name, 0);
    }
    close(fd);
  }
  closedir(listing);
}

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

std::string SelfPath(int fd) { return "/proc/self/fd/" + std::to_string(fd); }

// A file being written in a folder, locked while it is open: unnamed, or under a fresh
// temporary name that an interruption removes.
struct Temporary {
  int fd = -1;
  std::string path;  // empty while unnamed
  int entry = -1;    // in the interruption list
};

std::optional<Temporary> CreateTemporary(const std::string& folder, TemporaryKind kind) {
  if (kind == TemporaryKind::UnnamedWherePossible) {
    const int fd = OpenUnnamed(folder);
    if (fd >= 0) {
      flock(fd, LOCK_EX | LOCK_NB);  // nobody else can reach it yet
      return Temporary{fd, {}, -1};
    }
  }
  for (int attempt = 0; attempt < NAME_ATTEMPTS; ++attempt) {
    Temporary file;
    file.path = folder + "/" + NewTemporaryName();
    {
      const InterruptionsHeld held;
      file.fd = open(file.path.c_str(),
                     O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0666);
      if (file.fd < 0 && errno != EEXIST) return std::nullopt;
      if (file.fd >= 0) file.entry = RememberTemporary(file.path);
    }
    if (file.fd < 0) continue;
    // Between the creation and the lock, a run cleaning the folder may have taken the file
    // for an abandoned one; it then removes it, and this run starts over under a new name.
    if (flock(file.fd, LOCK_EX | LOCK_NB) == 0 && NameStillLeadsTo(file.path, file.fd)) {
      return file;
    }
    const InterruptionsHeld held;
    ForgetTemporary(file.entry);
    close(file.fd);
  }
  errno = EEXIST;
  return std::nullopt;
}

// Gives the unnamed file open at `fd` a fresh temporary name in `folder`.
std::optional<Temporary> NameUnnamed(int fd, const std::string& folder) {
  for (int attempt = 0; attempt < NAME_ATTEMPTS; ++attempt) {
    const std::string path = folder + "/" + NewTemporaryName();
    const InterruptionsHeld held;
    if (linkat(AT_FDCWD, SelfPath(fd).c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0) {
      return Temporary{fd, path, RememberTemporary(path)};
    }
    if (errno != EEXIST) return std::nullopt;
  }
  return std::nullopt;
}

// Gives the file open at `fd` the extended attributes of the file at `path` (the user's own
// `user.*` ones, and any others this process may set), as far as the file systems allow.
void CopyExtendedAttributes(const std::string& path, int fd) {
  const ssize_t listSize = listxattr(path.c_str(), nullptr, 0);
  if (listSize <= 0) return;
  std::vector<char> names(static_cast<std::size_t>(listSize));
  const ssize_t listed = listxattr(path.c_str(), names.data(), names.size());
  if (listed <= 0) return;
  std::vector<char> value;
  for (std::size_t at = 0; at < static_cast<std::size_t>(listed);) {
    const char* name = names.data() + at;
    at += std::strlen(name) + 1;
    const ssize_t size = getxattr(path.c_str(), name, nullptr, 0);
    if (size < 0) continue;
    value.resize(static_cast<std::size_t>(size));
    const ssize_t got = getxattr(path.c_str(), name, value.data(), value.size());
    if (got >= 0) fsetxattr(fd, name, value.data(), static_cast<std::size_t>(got), 0);
  }
}

// Makes what was written to `fd` durable.
bool Flush(int fd) { return fsync(fd) == 0; }

void FlushFolder(const std::string& folder) {
  // Best effort: some file systems refuse to flush a folder, and the page is in place by now.
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

// A new version of `target_`, written to a temporary file of its own and put in place by
// Commit(): over the old version (a replacement, flushed to the disk first), or only where
// nothing has taken the name (a new file).
class PageFile final : public ByteWriter {
 public:
  enum class Placing { Replace, OnlyIfAbsent };

  PageFile(Temporary file, std::string target, Placing placing)
      : file_(std::move(file)),
        target_(std::move(target)),
        folder_(FolderOf(target_)),
        placing_(placing) {}

  ~PageFile() override {
    if (!file_.path.empty()) {
      const InterruptionsHeld held;
      unlink(file_.path.c_str());
      ForgetTemporary(file_.entry);
    }
    if (file_.fd >= 0) close(file_.fd);
  }

  bool Write(std::string_view bytes) override { return WriteAll(file_.fd, bytes); }

  bool Commit() override {
    struct stat old {};
    // Only a page that replaces another is flushed: the old page is what a power cut right
    // after the rename could otherwise cost.
    bool replacing = placing_ == Placing::Replace && lstat(target_.c_str(), &old) == 0;
    if (replacing && !Flush(file_.fd)) return false;
    // The close reports what a file system kept back until then. A duplicate keeps the file
    // open, and so its lock held, until it is in place.
    const int lockHolder = fcntl(file_.fd, F_DUPFD_CLOEXEC, 0);
    if (lockHolder < 0) return false;
    const int closed = close(file_.fd);
    file_.fd = lockHolder;
    if (closed != 0) return false;

    if (file_.path.empty()) {
      // A new page appears whole under its name, or not at all.
      const InterruptionsHeld held;
      if (linkat(AT_FDCWD, SelfPath(file_.fd).c_str(), AT_FDCWD, target_.c_str(),
                 AT_SYMLINK_FOLLOW) == 0) {
        return Placed(false);
      }
      if (errno != EEXIST || placing_ == Placing::OnlyIfAbsent) return false;
      // Something took the name meanwhile: this becomes a replacement after all.
      if (!replacing && !Flush(file_.fd)) return false;
      replacing = true;
      auto named = NameUnnamed(file_.fd, folder_);
      if (!named) return false;
      file_ = std::move(*named);
    }

    const InterruptionsHeld held;
    if (placing_ == Placing::OnlyIfAbsent) {
      if (link(file_.path.c_str(), target_.c_str()) != 0) return false;
      unlink(file_.path.c_str());
    } else if (rename(file_.path.c_str(), target_.c_str()) != 0) {
      return false;
    }
    ForgetTemporary(file_.entry);
    file_.path.clear();
    return Placed(replacing);
  }

 private:
  bool Placed(bool replaced) {
    // A page, not a picture's copy, ends its conversion's writing.
    if (placing_ == Placing::Replace) NotePagePlaced();
    if (replaced) FlushFolder(folder_);
    close(file_.fd);
    file_.fd = -1;
    return true;
  }

  Temporary file_;
  std::string target_;
  std::string folder_;
  Placing placing_;
};

}  // namespace

std::unique_ptr<ByteWriter> OpenNewFile(const std::string& path) {
  auto file = CreateTemporary(FolderOf(path), TemporaryKind::UnnamedWherePossible);
  if (!file) return nullptr;
  return std::make_unique<PageFile>(std::move(*file), path, PageFile::Placing::OnlyIfAbsent);
}

std::unique_ptr<ByteWriter> OpenReplacement(const std::string& path, TemporaryKind kind) {
  const auto target = FollowLinks(path);
  if (!target) return nullptr;
  struct stat old {};
  const bool exists = stat(target->c_str(), &old) == 0;
  if (!exists && errno == ELOOP) return nullptr;
  if (exists && S_ISDIR(old.st_mode)) return nullptr;
  if (exists && !S_ISREG(old.st_mode)) {
    const int fd = open(target->c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return nullptr;
    return std::make_unique<DescriptorWriter>(fd);
  }
  if (exists) {
    // A page the user may not write is refused, though its folder would take a new file that
    // replaces it; opening it without O_TRUNC changes nothing.
    const int probe = open(target->c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (probe < 0) return nullptr;
    close(probe);
  }

  const std::string folder = FolderOf(*target);
  RemoveAbandonedTemporaries(folder);
  auto file = CreateTemporary(folder, kind);
  if (!file) return nullptr;
  if (exists) {
    // Best effort: an owner other than the writer's can only be kept by root.
    fchmod(file->fd, old.st_mode & 07777);
    if (old.st_uid != geteuid() || old.st_gid != getegid()) {
      [[maybe_unused]] const int ignored = fchown(file->fd, old.st_uid, old.st_gid);
    }
    CopyExtendedAttributes(*target, file->fd);
  }
  return std::make_unique<PageFile>(std::move(*file), *target, PageFile::Placing::Replace);
}

}  // namespace morvel
