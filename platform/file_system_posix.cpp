// The engine's file system on POSIX. Engine paths ("\\" between folders, code page 932) are
// mapped onto UTF-8 paths with "/"; a path that starts with "\\" is absolute.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "platform/encoding_posix.h"
#include "platform/native_platform.h"
#include "platform/posix_io.h"
#include "platform/replacement_file_posix.h"
#include "text/path_scan.h"

namespace morvel {

namespace {

std::string ToPosixPath(std::string_view enginePath) {
  std::string path = Cp932ToUtf8(enginePath).value_or(std::string(enginePath));
  std::replace(path.begin(), path.end(), '\\', '/');
  return path.empty() ? "/" : path;
}

class PosixFileSystem final : public FileSystem {
 public:
  explicit PosixFileSystem(TemporaryKind kind) : kind_(kind) {}

  std::optional<std::string> FindFirst(std::string_view path) override {
    DIR* folder = opendir(ToPosixPath(FolderPart(path)).c_str());
    if (!folder) return std::nullopt;
    const std::string_view pattern = FileNamePart(path);
    std::vector<std::string> matches;
    while (const dirent* entry = readdir(folder)) {
      const std::string_view stored = entry->d_name;
      if (stored == "." || stored == "..") continue;
      auto name = Utf8ToCp932(stored);
      if (name && MatchesFileNamePattern(*name, pattern)) matches.push_back(std::move(*name));
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

  bool IsFolder(std::string_view path) override {
    struct stat info {};
    return stat(ToPosixPath(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
  }

  std::optional<FileIdentity> IdentityOf(std::string_view path) override {
    struct stat info {};
    if (stat(ToPosixPath(path).c_str(), &info) != 0) return std::nullopt;
    return FileIdentity{static_cast<std::uint64_t>(info.st_dev),
                        static_cast<std::uint64_t>(info.st_ino)};
  }

  CopyOutcome CopyIfAbsent(std::string_view from, std::string_view to) override {
    const std::string destination = ToPosixPath(to);
    struct stat info {};
    if (lstat(destination.c_str(), &info) == 0) return CopyOutcome::DestinationExists;
    auto source = OpenForReading(from);
    if (!source) return CopyOutcome::Failed;
    // The copy appears whole under its name or not at all, and never over a file that took
    // the name meanwhile.
    const auto copy = OpenNewFile(destination);
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
    const int fd = open(ToPosixPath(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat info {};
    if (fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
      close(fd);
      return nullptr;
    }
    return std::make_unique<DescriptorReader>(fd);
  }

  std::unique_ptr<ByteWriter> OpenForWriting(std::string_view path) override {
    return OpenReplacement(ToPosixPath(path), kind_);
  }

  bool IsLinkLoop(std::string_view path) override {
    struct stat info {};
    return stat(ToPosixPath(path).c_str(), &info) != 0 && errno == ELOOP;
  }

 private:
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
