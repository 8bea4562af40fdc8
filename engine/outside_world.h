// Everything the engine needs from the outside world. The engine never touches a disk, a
// clock or the user except through these interfaces, so the same code runs against Win32,
// against POSIX and against an in-memory fake in tests.
//
// Paths are in the engine's vocabulary: code page 932 bytes with "\\" between folders. Each
// file system maps them onto its own names.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "engine/user_messages.h"

namespace morvel {

// ---------------------------------------------------------------------------------------------
// Byte streams

// Identifies a file independently of how its path is spelled (volume and file index on Win32,
// device and inode on POSIX).
struct FileIdentity {
  std::uint64_t volume = 0;
  std::uint64_t index = 0;
  friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

// What tells one state of a regular file from another: the file itself, its size and the time
// of its last change, in the file system's own units.
struct FileVersion {
  FileIdentity identity;
  std::uint64_t size = 0;
  std::int64_t modified = 0;
  friend bool operator==(const FileVersion&, const FileVersion&) = default;
};

class ByteReader {
 public:
  virtual ~ByteReader() = default;
  // Reads up to `capacity` bytes into `buffer`. Returns the count read, 0 at the end of the
  // file, or nothing when the read failed.
  virtual std::optional<std::size_t> Read(char* buffer, std::size_t capacity) = 0;
  // The version of the regular file being read, as it was when it was opened; nothing for a
  // source that may give its bytes only once (a pipe, a device, standard input). The engine
  // reads a source again only when it has a version, and only while the version is unchanged.
  virtual std::optional<FileVersion> Version() const { return std::nullopt; }
};

// A new version of a file, written beside it and put in its place only once it is complete,
// so that a failure at any point leaves what was there before (or nothing) untouched.
class ByteWriter {
 public:
  // Destroying a writer before a successful Commit() removes what it wrote.
  virtual ~ByteWriter() = default;
  // Writes every byte or reports failure.
  virtual bool Write(std::string_view bytes) = 0;
  // Closes the file and puts it in its place, replacing the file that was there. False when
  // anything written did not reach the file or it could not be put in place; the place then
  // holds what it held before.
  virtual bool Commit() = 0;
  // True when what is written reaches a reader at once (standard output, a pipe, a device), so
  // that nothing written can be taken back: such a page is begun only once its text is settled.
  virtual bool IsStream() const { return false; }
};

// Bytes a request keeps aside for its own length, gone with it: a text that can be read only
// once is kept here while its encoding is unsettled, so that it can be read again from its start.
class Scratch {
 public:
  virtual ~Scratch() = default;
  // Adds `bytes` at the end, or reports failure.
  virtual bool Append(std::string_view bytes) = 0;
  // Reads up to `capacity` bytes kept from `offset` on: the count read, 0 past the end, nothing
  // when the read failed.
  virtual std::optional<std::size_t> ReadAt(std::uint64_t offset, char* buffer,
                                            std::size_t capacity) = 0;
};

// ---------------------------------------------------------------------------------------------
// File system

enum class CopyOutcome { Copied, DestinationExists, Failed };

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // Looks `path` up in its folder; "*" and "?" in the file-name part are wildcards and letters
  // match in either case where FoldsNameCase(). Returns the first matching entry's name (file or
  // folder) as the file system stores it, or nothing.
  virtual std::optional<std::string> FindFirst(std::string_view path) = 0;
  // True when `path` names an existing folder.
  virtual bool IsFolder(std::string_view path) = 0;
  // The identity of the file at `path`, or nothing when it cannot be had.
  virtual std::optional<FileIdentity> IdentityOf(std::string_view path) = 0;
  // Copies `from` to `to` unless something named `to` already exists, which stays untouched.
  virtual CopyOutcome CopyIfAbsent(std::string_view from, std::string_view to) = 0;
  // Opens a file as bytes; nothing when it cannot be opened (missing, a folder, no access).
  virtual std::unique_ptr<ByteReader> OpenForReading(std::string_view path) = 0;
  // Starts a new version of the file at `path` (see ByteWriter); nothing when no file can be
  // written there (a read-only file, a folder, a folder that takes no new files).
  virtual std::unique_ptr<ByteWriter> OpenForWriting(std::string_view path) = 0;
  // True when `path` is a loop of symbolic links, where no file can ever be written: such a
  // page is refused rather than failed.
  virtual bool IsLinkLoop(std::string_view /*path*/) { return false; }
  // True when names that differ only in the case of "a"-"z" name one file (Windows); false where
  // the file system tells them apart (Linux), and names are then compared and looked up exactly.
  virtual bool FoldsNameCase() const { return true; }
  // A new, empty scratch; nothing when none can be had. Memory, unless the file system has a
  // better place for what may be a whole text.
  virtual std::unique_ptr<Scratch> OpenScratch();
};

// ---------------------------------------------------------------------------------------------
// The user

// The user, asked and told in values (engine/user_messages.h); each front end shows them its own
// way, and each call returns once the user has seen what it says.
class UserInterface {
 public:
  virtual ~UserInterface() = default;
  // Puts `question` to the user: true for OK, false for Cancel or a question closed unanswered.
  virtual bool Ask(Question question) = 0;
  // Tells the user of the problem that ended the request.
  virtual void Tell(const Report& report) = 0;
  // Tells the user that the page is complete at `pagePath`.
  virtual void TellCompleted(std::string_view pagePath) = 0;
  // Shows the corrected target path where the user typed it (IDC_TARGET_PATH in the window).
  virtual void ShowTargetPath(std::string_view path) = 0;
};

// ---------------------------------------------------------------------------------------------
// The clock

struct LocalTime {
  int year = 0;    // full calendar year, 2002
  int month = 0;   // 1-12
  int day = 0;     // 1-31
  int hour = 0;    // 0-23
  int minute = 0;  // 0-59
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalTime Now() = 0;
};

// What one conversion request works with.
struct Platform {
  FileSystem& files;
  UserInterface& user;
  Clock& clock;
};

}  // namespace morvel
