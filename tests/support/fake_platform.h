// An in-memory platform for engine tests: files and folders in a map, scripted answers to
// questions, every message recorded in the window's words, a pinned clock, and writers that can
// fail after a given number of bytes.
#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "engine/outside_world.h"

namespace morvel::testing {

// How a message is shown: a warning or information, with OK alone or OK and Cancel.
struct Style {
  MessageKind kind;
  MessageButtons buttons;
  friend bool operator==(const Style&, const Style&) = default;
};
inline constexpr Style WARN{MessageKind::Warning, MessageButtons::Ok};
inline constexpr Style ASK{MessageKind::Warning, MessageButtons::OkCancel};
inline constexpr Style INFORM{MessageKind::Information, MessageButtons::Ok};

struct ShownMessage {
  std::string text;
  std::string caption;
  Style style;
  friend bool operator==(const ShownMessage&, const ShownMessage&) = default;
};
void PrintTo(const ShownMessage& message, std::ostream* out);

// The answers to questions.
inline constexpr bool ANSWER_OK = true;
inline constexpr bool ANSWER_CANCEL = false;

class ScriptedUser final : public UserInterface {
 public:
  // The next question is answered with `answer`; unscripted questions are answered OK.
  void Answer(bool answer) { answers_.push_back(answer); }
  bool Ask(Question question) override;
  void Tell(const Report& report) override { Show(WindowMessage(report)); }
  void TellCompleted(std::string_view pagePath) override {
    Show(WindowMessage(Completion{pagePath}));
  }
  void ShowTargetPath(std::string_view path) override { targetPathShown.emplace_back(path); }

  std::vector<ShownMessage> shown;
  std::vector<std::string> targetPathShown;
  // Called while each box is up, before it is answered.
  std::function<void(const ShownMessage&)> whileShown;

 private:
  void Show(const Message& message);

  std::deque<bool> answers_;
};

class FixedClock final : public Clock {
 public:
  explicit FixedClock(LocalTime time = {2002, 3, 16, 9, 5}) : time(time) {}
  LocalTime Now() override { return time; }
  LocalTime time;
};

// Paths are matched case-insensitively for "a"-"z" (as Windows does); names keep the case
// they were created with.
class FakeFileSystem final : public FileSystem {
 public:
  struct File {
    std::string bytes;
    std::uint64_t id = 0;
    bool readable = true;
    bool writable = true;
    std::optional<std::size_t> failReadAfter;     // a read error once this many bytes are read
    std::optional<std::size_t> outOfMemoryAfter;  // std::bad_alloc once this many are read
    std::optional<std::size_t> failWriteAfter;    // a write error past this many bytes
    bool failClose = false;
    std::size_t readSize = 7;  // the most a read gives: small reads cut the text anywhere
    // A pipe's bytes: there is no version, and once opened it gives nothing more.
    bool readOnce = false;
    // Once opened, the file holds these bytes instead (it was written to meanwhile).
    std::optional<std::string> changesTo;
    std::int64_t generation = 0;  // counts the changes, as a modification time would
  };

  void AddFolder(const std::string& path);
  File& AddFile(const std::string& path, std::string bytes = {});
  // Makes `alias` another spelling of the file at `path` (a short name, "." in the path).
  void AddAlias(const std::string& alias, const std::string& path);
  // Writers opened for a new file at `path` fail after `bytes` bytes (or at Commit()).
  void FailWritesTo(const std::string& path, std::size_t bytes, bool failClose = false);

  const File* Find(const std::string& path) const;
  std::string Contents(const std::string& path) const;

  std::optional<std::string> FindFirst(std::string_view path) override;
  bool IsFolder(std::string_view path) override;
  std::optional<FileIdentity> IdentityOf(std::string_view path) override;
  CopyOutcome CopyIfAbsent(std::string_view from, std::string_view to) override;
  std::unique_ptr<ByteReader> OpenForReading(std::string_view path) override;
  std::unique_ptr<ByteWriter> OpenForWriting(std::string_view path) override;

  // New versions of pages being written and not yet in place or given up.
  int PendingWrites() const { return pendingWrites_; }

  std::vector<std::string> opened;  // "r:PATH" / "w:PATH", in order
  std::optional<std::string> failCopyTo;

 private:
  struct FailingWrite {
    std::size_t after;
    bool failClose;
  };
  std::string Canonical(std::string_view path) const;
  File* FindMutable(std::string_view path);

  std::map<std::string, File> files_;         // key: folded path
  std::map<std::string, std::string> names_;  // folded path -> stored path
  std::map<std::string, std::string> aliases_;
  std::map<std::string, std::string> folders_;  // folded path -> stored path
  std::map<std::string, FailingWrite> failingWrites_;
  std::uint64_t nextId_ = 1;
  int pendingWrites_ = 0;
};

// A platform over the three fakes.
struct FakePlatform {
  FakeFileSystem files;
  ScriptedUser user;
  FixedClock clock;
  Platform platform{files, user, clock};
};

}  // namespace morvel::testing
