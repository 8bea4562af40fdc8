#include "tests/support/fake_platform.h"

#include <algorithm>
#include <new>
#include <utility>

#include "text/encoding.h"
#include "text/path_scan.h"

namespace morvel::testing {

void PrintTo(const ShownMessage& message, std::ostream* out) {
  *out << "{\"" << message.text << "\", \"" << message.caption << "\", "
       << (message.style.kind == MessageKind::Warning ? "warning" : "information")
       << (message.style.buttons == MessageButtons::OkCancel ? ", OK/Cancel}" : ", OK}");
}

void ScriptedUser::Show(const Message& message) {
  shown.push_back({message.text, std::string(message.caption), {message.kind, message.buttons}});
  if (whileShown) whileShown(shown.back());
}

bool ScriptedUser::Ask(Question question) {
  Show(WindowMessage(question));
  if (answers_.empty()) return ANSWER_OK;
  const bool answer = answers_.front();
  answers_.pop_front();
  return answer;
}

namespace {

class FakeReader final : public ByteReader {
 public:
  FakeReader(const FakeFileSystem::File& file, std::optional<FileVersion> version)
      : bytes_(file.bytes),
        failAfter_(file.failReadAfter),
        outOfMemoryAfter_(file.outOfMemoryAfter),
        readSize_(file.readSize),
        version_(version) {}
  std::optional<FileVersion> Version() const override { return version_; }
  std::optional<std::size_t> Read(char* buffer, std::size_t capacity) override {
    if (outOfMemoryAfter_ && position_ >= *outOfMemoryAfter_) throw std::bad_alloc();
    std::size_t limit = bytes_.size();
    if (failAfter_) {
      if (position_ >= *failAfter_) return std::nullopt;
      limit = std::min(limit, *failAfter_);
    }
    const std::size_t count = std::min({capacity, limit - position_, readSize_});
    std::copy_n(bytes_.data() + position_, count, buffer);
    position_ += count;
    return count;
  }

 private:
  std::string bytes_;
  std::optional<std::size_t> failAfter_;
  std::optional<std::size_t> outOfMemoryAfter_;
  std::size_t readSize_;
  std::optional<FileVersion> version_;
  std::size_t position_ = 0;
};

// Writes a page's new version aside; Commit() puts it in place, as the real file systems do.
class FakeWriter final : public ByteWriter {
 public:
  using Place = std::function<void(std::string)>;
  FakeWriter(Place place, int& pending, std::optional<std::size_t> failAfter, bool failClose)
      : place_(std::move(place)), pending_(pending), failAfter_(failAfter), failClose_(failClose) {
    ++pending_;
  }
  ~FakeWriter() override { --pending_; }
  bool Write(std::string_view bytes) override {
    if (failAfter_ && written_.size() + bytes.size() > *failAfter_) {
      written_.append(bytes.substr(0, *failAfter_ - std::min(*failAfter_, written_.size())));
      return false;
    }
    written_.append(bytes);
    return true;
  }
  bool Commit() override {
    if (failClose_) return false;
    place_(std::move(written_));
    return true;
  }

 private:
  Place place_;
  int& pending_;
  std::string written_;
  std::optional<std::size_t> failAfter_;
  bool failClose_;
};

}  // namespace

std::string FakeFileSystem::Canonical(std::string_view path) const {
  std::string folded;
  for (std::size_t i = 0; i < path.size(); ++i) {
    char c = path[i];
    if (IsLeadByte(c) && i + 1 < path.size()) {
      folded.push_back(c);
      folded.push_back(path[++i]);
      continue;
    }
    folded.push_back((c >= 'a' && c <= 'z') ? static_cast<char>(c - 0x20) : c);
  }
  const auto alias = aliases_.find(folded);
  return alias != aliases_.end() ? alias->second : folded;
}

void FakeFileSystem::AddFolder(const std::string& path) { folders_[Canonical(path)] = path; }

FakeFileSystem::File& FakeFileSystem::AddFile(const std::string& path, std::string bytes) {
  const std::string key = Canonical(path);
  names_[key] = path;
  File& file = files_[key];
  file.bytes = std::move(bytes);
  file.id = nextId_++;
  return file;
}

void FakeFileSystem::AddAlias(const std::string& alias, const std::string& path) {
  aliases_[Canonical(alias)] = Canonical(path);
}

void FakeFileSystem::FailWritesTo(const std::string& path, std::size_t bytes, bool failClose) {
  failingWrites_[Canonical(path)] = {bytes, failClose};
}

FakeFileSystem::File* FakeFileSystem::FindMutable(std::string_view path) {
  const auto found = files_.find(Canonical(path));
  return found == files_.end() ? nullptr : &found->second;
}

const FakeFileSystem::File* FakeFileSystem::Find(const std::string& path) const {
  const auto found = files_.find(Canonical(path));
  return found == files_.end() ? nullptr : &found->second;
}

std::string FakeFileSystem::Contents(const std::string& path) const {
  const File* file = Find(path);
  return file ? file->bytes : std::string{};
}

std::optional<std::string> FakeFileSystem::FindFirst(std::string_view path) {
  const std::string folder = Canonical(FolderPart(path));
  const std::string_view pattern = FileNamePart(path);
  std::vector<std::string> matches;
  const auto consider = [&](const std::string& storedPath) {
    if (Canonical(FolderPart(storedPath)) != folder) return;
    const std::string_view name = FileNamePart(storedPath);
    if (MatchesFileNamePattern(name, pattern)) matches.emplace_back(name);
  };
  for (const auto& [key, stored] : names_) consider(stored);
  for (const auto& [key, stored] : folders_) consider(stored);
  if (matches.empty()) return std::nullopt;
  return *std::min_element(matches.begin(), matches.end());
}

bool FakeFileSystem::IsFolder(std::string_view path) {
  return folders_.count(Canonical(path)) != 0;
}

std::optional<FileIdentity> FakeFileSystem::IdentityOf(std::string_view path) {
  const File* file = FindMutable(path);
  if (!file) return std::nullopt;
  return FileIdentity{1, file->id};
}

CopyOutcome FakeFileSystem::CopyIfAbsent(std::string_view from, std::string_view to) {
  if (FindMutable(to) || IsFolder(to)) return CopyOutcome::DestinationExists;
  const File* source = FindMutable(from);
  if (!source || !source->readable || (failCopyTo && Canonical(*failCopyTo) == Canonical(to))) {
    return CopyOutcome::Failed;
  }
  const std::string bytes = source->bytes;
  AddFile(std::string(to), bytes);
  return CopyOutcome::Copied;
}

std::unique_ptr<ByteReader> FakeFileSystem::OpenForReading(std::string_view path) {
  opened.push_back("r:" + std::string(path));
  File* file = FindMutable(path);
  if (!file || !file->readable) return nullptr;
  std::optional<FileVersion> version;
  if (!file->readOnce) version = FileVersion{{1, file->id}, file->bytes.size(), file->generation};
  auto reader = std::make_unique<FakeReader>(*file, version);
  if (file->readOnce) file->bytes.clear();
  if (file->changesTo) {
    file->bytes = *std::exchange(file->changesTo, std::nullopt);
    ++file->generation;
  }
  return reader;
}

std::unique_ptr<ByteWriter> FakeFileSystem::OpenForWriting(std::string_view path) {
  opened.push_back("w:" + std::string(path));
  if (IsFolder(path) || !IsFolder(FolderPart(path))) return nullptr;
  const File* existing = FindMutable(path);
  if (existing && !existing->writable) return nullptr;
  auto place = [this, name = std::string(path)](std::string bytes) {
    if (File* file = FindMutable(name)) {
      file->bytes = std::move(bytes);
    } else {
      AddFile(name, std::move(bytes));
    }
  };
  const auto failing = failingWrites_.find(Canonical(path));
  if (failing == failingWrites_.end()) {
    return std::make_unique<FakeWriter>(place, pendingWrites_, std::nullopt, false);
  }
  return std::make_unique<FakeWriter>(place, pendingWrites_, failing->second.after,
                                      failing->second.failClose);
}

}  // namespace morvel::testing
