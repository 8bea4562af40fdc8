#include <algorithm>
#include <cstring>

#include "platform/web_platform.h"
#include "text/path_scan.h"

namespace morvel {

namespace {

constexpr std::uint64_t WEB_VOLUME = 1;
constexpr std::uint64_t SOURCE_INDEX = 1;
constexpr std::uint64_t FIRST_WRITTEN_INDEX = 2;

// The file name that `path` gives in `folder`, or nothing for a path in another folder.
std::optional<std::string_view> NameIn(std::string_view folder, std::string_view path) {
  if (!LastSeparator(path) || !SamePathText(FolderPart(path), folder)) return std::nullopt;
  return FileNamePart(path);
}

std::optional<std::size_t> IndexOf(const std::vector<WrittenFile>& written, std::string_view name) {
  for (std::size_t i = 0; i < written.size(); ++i) {
    if (SamePathText(name, written[i].name)) return i;
  }
  return std::nullopt;
}

// Puts a complete file among the written ones, in place of one of the same name.
void Complete(std::vector<WrittenFile>& written, std::string name, std::string bytes) {
  if (const auto index = IndexOf(written, name)) {
    written[*index].bytes = std::move(bytes);
    return;
  }
  written.push_back({std::move(name), std::move(bytes)});
}

// Reads bytes held in memory. The held file never changes while it is held, so it has a version
// and the engine opens it again for a second pass rather than keep a copy of it.
class MemoryReader final : public ByteReader {
 public:
  explicit MemoryReader(std::string_view bytes, std::optional<FileVersion> version = {})
      : rest_(bytes), version_(version) {}
  std::optional<std::size_t> Read(char* buffer, std::size_t capacity) override {
    const std::size_t count = std::min(capacity, rest_.size());
    std::memcpy(buffer, rest_.data(), count);
    rest_.remove_prefix(count);
    return count;
  }
  std::optional<FileVersion> Version() const override { return version_; }

 private:
  std::string_view rest_;
  std::optional<FileVersion> version_;
};

// Collects the bytes; they join the written files on Commit(), and are dropped otherwise.
class MemoryWriter final : public ByteWriter {
 public:
  MemoryWriter(std::vector<WrittenFile>& written, std::string name)
      : written_(written), name_(std::move(name)) {}
  bool Write(std::string_view bytes) override {
    bytes_.append(bytes);
    return true;
  }
  bool Commit() override {
    Complete(written_, std::move(name_), std::move(bytes_));
    return true;
  }

 private:
  std::vector<WrittenFile>& written_;
  std::string name_;
  std::string bytes_;
};

}  // namespace

char* WebFileSystem::HoldSource(std::string name, std::size_t size) {
  Clear();
  source_.resize(size);
  sourceName_ = std::move(name);
  sourceReadable_ = true;
  return source_.data();
}

void WebFileSystem::HoldUnreadableSource(std::string name) {
  Clear();
  sourceName_ = std::move(name);
}

std::string WebFileSystem::SourcePath() const {
  if (!sourceName_) return {};
  return std::string(WEB_SOURCE_FOLDER) + "\\" + *sourceName_;
}

void WebFileSystem::Clear() {
  sourceName_.reset();
  std::string().swap(source_);
  sourceReadable_ = false;
  written_.clear();
}

bool WebFileSystem::IsSource(std::string_view path) const {
  const auto name = NameIn(WEB_SOURCE_FOLDER, path);
  return name && sourceName_ && SamePathText(*name, *sourceName_);
}

std::optional<std::size_t> WebFileSystem::WrittenIndex(std::string_view path) const {
  const auto name = NameIn(WEB_TARGET_FOLDER, path);
  return name ? IndexOf(written_, *name) : std::nullopt;
}

std::optional<std::string> WebFileSystem::FindFirst(std::string_view path) {
  if (const auto pattern = NameIn(WEB_SOURCE_FOLDER, path)) {
    if (sourceName_ && MatchesFileNamePattern(*sourceName_, *pattern)) return *sourceName_;
    return std::nullopt;
  }
  if (const auto pattern = NameIn(WEB_TARGET_FOLDER, path)) {
    for (const WrittenFile& file : written_) {
      if (MatchesFileNamePattern(file.name, *pattern)) return file.name;
    }
  }
  return std::nullopt;
}

bool WebFileSystem::IsFolder(std::string_view path) {
  return SamePathText(path, WEB_SOURCE_FOLDER) || SamePathText(path, WEB_TARGET_FOLDER);
}

std::optional<FileIdentity> WebFileSystem::IdentityOf(std::string_view path) {
  if (IsSource(path)) return FileIdentity{WEB_VOLUME, SOURCE_INDEX};
  if (const auto index = WrittenIndex(path)) {
    return FileIdentity{WEB_VOLUME, FIRST_WRITTEN_INDEX + *index};
  }
  return std::nullopt;
}

CopyOutcome WebFileSystem::CopyIfAbsent(std::string_view from, std::string_view to) {
  const auto name = NameIn(WEB_TARGET_FOLDER, to);
  if (!name) return CopyOutcome::Failed;
  if (WrittenIndex(to)) return CopyOutcome::DestinationExists;
  if (!IsSource(from) || !sourceReadable_) return CopyOutcome::Failed;
  Complete(written_, std::string(*name), source_);
  return CopyOutcome::Copied;
}

std::unique_ptr<ByteReader> WebFileSystem::OpenForReading(std::string_view path) {
  if (IsSource(path)) {
    if (!sourceReadable_) return nullptr;
    const FileVersion version{{WEB_VOLUME, SOURCE_INDEX}, source_.size(), 0};
    return std::make_unique<MemoryReader>(source_, version);
  }
  if (const auto index = WrittenIndex(path)) {
    return std::make_unique<MemoryReader>(written_[*index].bytes);
  }
  return nullptr;
}

std::unique_ptr<ByteWriter> WebFileSystem::OpenForWriting(std::string_view path) {
  const auto name = NameIn(WEB_TARGET_FOLDER, path);
  if (!name) return nullptr;
  return std::make_unique<MemoryWriter>(written_, std::string(*name));
}

}  // namespace morvel
