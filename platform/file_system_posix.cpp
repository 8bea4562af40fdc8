// The engine's file system on POSIX. Engine paths ("\\" between folders, code page 932) are
// mapped onto UTF-8 paths with "/"; a path that starts with "\\" is absolute. Names convert
// exactly both ways: a path with a sequence code page 932 does not define names no file, and a
// stored name that code page 932 cannot spell is never found.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "platform/native_platform.h"
#include "platform/posix_io.h"
#include "platform/replacement_file_posix.h"
#include "platform/scratch_file.h"
#include "text/code_page_932.h"
#include "text/path_scan.h"

namespace morvel {

namespace {

// The POSIX path for `enginePath`, or nothing when it is not code page 932 text.
std::optional<std::string> ToPosixPath(std::string_view enginePath) {
  auto path = Cp932ToUtf8(enginePath);
  if (!path) return std::nullopt;
  // UTF-8 holds no "\\" inside a character: every one is a separator.
  std::replace(path->begin(), path->end(), '\\', '/');
  if (path->empty()) return "/";
  return path;
}

class PosixFileSystem final : public FileSystem {
 public:
  explicit PosixFileSystem(TemporaryKind kind) : kind_(kind) {}

  std::optional<std::string> FindFirst(std::string_view path) override {
    const auto folderPath = ToPosixPath(FolderPart(path));
    DIR* folder = folderPath ? opendir(folderPath->c_str()) : nullptr;
    if (!folder) return std::nullopt;
    const std::string_view pattern = FileNamePart(path);
    std::vector<std::string> matches;
    while (const dirent* entry = readdir(folder)) {
      const std::string_view stored = entry->d_name;
      if (stored == "." || stored == "..") continue;
      auto name = Utf8ToCp932(stored);
      if (name && MatchesFileNamePattern(*name, pattern, false))
        matches.push_back(std::move(*name));
    }
    closedir(folder);
    if (matches.empty()) return std::nullopt;
    // An exact spelling wins; otherwise the first name in a stable order, as a sorted
    // directory listing would give it.
    if (std::find(matches.begin(), matches.end(), pattern) != matches.end()) {
      return std::string(pattern);
    }
    return *std::min_element(matches.begin(), matches.end());
  }

  // Linux file systems tell "a" from "A".
  bool FoldsNameCase() const override { return false; }

  bool IsFolder(std::string_view path) override {
    const auto posixPath = ToPosixPath(path);
    struct stat info {};
    return posixPath && stat(posixPath->c_str(), &info) == 0 && S_ISDIR(info.st_mode);
  }

  std::optional<FileIdentity> IdentityOf(std::string_view path) override {
    const auto posixPath = ToPosixPath(path);
    struct stat info {};
    if (!posixPath || stat(posixPath->c_str(), &info) != 0) return std::nullopt;
    return FileIdentity{static_cast<std::uint64_t>(info.st_dev),
                        static_cast<std::uint64_t>(info.st_ino)};
  }

  CopyOutcome CopyIfAbsent(std::string_view from, std::string_view to) override {
    const auto destination = ToPosixPath(to);
    if (!destination) return CopyOutcome::Failed;
    struct stat info {};
    if (lstat(destination->c_str(), &info) == 0) return CopyOutcome::DestinationExists;
    // The picture's second opening: a FIFO whose writer has finished must not wait for another.
    auto source = OpenReader(from, O_NONBLOCK);
    if (!source) return CopyOutcome::Failed;
    // The copy appears whole under its name or not at all, and never over a file that took
    // the name meanwhile.
    const auto copy = OpenNewFile(*destination);
    const auto taken = [] {
      return errno == EEXIST ? CopyOutcome::DestinationExists : CopyOutcome::Failed;
    };
    if (!copy) return taken();
    std::vector<char> buffer(64 * 1024);
    for (;;) {
      const auto count = source->Read(buffer.data(), buffer.size());
      if (!count || !copy->Write({buffer.data(), *count})) return CopyOutcome::Failed;
      if (*count == 0) break;
    }
    return copy->Commit() ? CopyOutcome::Copied : taken();
  }

  std::unique_ptr<ByteReader> OpenForReading(std::string_view path) override {
    return OpenReader(path, 0);
  }

  std::unique_ptr<ByteWriter> OpenForWriting(std::string_view path) override {
    const auto posixPath = ToPosixPath(path);
    return posixPath ? OpenReplacement(*posixPath, kind_) : nullptr;
  }

  std::unique_ptr<Scratch> OpenScratch() override { return OpenScratchFile(); }

  bool IsLinkLoop(std::string_view path) override {
    const auto posixPath = ToPosixPath(path);
    struct stat info {};
    return posixPath && stat(posixPath->c_str(), &info) != 0 && errno == ELOOP;
  }

 private:
  // `openFlags` O_NONBLOCK opens a FIFO without waiting for a writer; reads wait as usual.
  static std::unique_ptr<ByteReader> OpenReader(std::string_view path, int openFlags) {
    const auto posixPath = ToPosixPath(path);
    const int fd = posixPath ? open(posixPath->c_str(), O_RDONLY | O_CLOEXEC | openFlags) : -1;
    if (fd < 0) return nullptr;
    if (openFlags & O_NONBLOCK) fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    struct stat info {};
    if (fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
      close(fd);
      return nullptr;
    }
    // A FIFO, a device or a /proc file (a regular file that claims no bytes) may give other
    // bytes, or none, when read again.
    if (!S_ISREG(info.st_mode) || info.st_size == 0) return std::make_unique<DescriptorReader>(fd);
    const FileVersion version{
        {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)},
        static_cast<std::uint64_t>(info.st_size),
        static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec};
    return std::make_unique<DescriptorReader>(fd, version);
  }

  TemporaryKind kind_;
};

}  // namespace

std::unique_ptr<FileSystem> MakeNativeFileSystem() {
  return MakeNativeFileSystem(TemporaryKind::UnnamedWherePossible);
}

std::unique_ptr<FileSystem> MakeNativeFileSystem(TemporaryKind kind) {
  return std::make_unique<PosixFileSystem>(kind);
}

}  // namespace morvel
