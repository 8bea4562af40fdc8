// The engine's files in a web page. The file the user chose is held in memory, whole: the
// browser hands it over once, and every time the engine opens it (again, when a text's encoding
// turns out other than first read) it reads it from memory. What a conversion writes stays in
// memory too, for the page to offer as downloads. The page's clock is the POSIX one: the
// browser's local time.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/outside_world.h"

namespace morvel {

// The two folders of the engine's paths in the page: the chosen file lies alone in the one, and
// pages and pictures are written into the other, empty until something is written.
inline constexpr std::string_view WEB_SOURCE_FOLDER = "source";
inline constexpr std::string_view WEB_TARGET_FOLDER = "pages";

// A file written into WEB_TARGET_FOLDER and complete: its name (code page 932) and bytes.
struct WrittenFile {
  std::string name;
  std::string bytes;
};

class WebFileSystem final : public FileSystem {
 public:
  // Holds a file named `name` (code page 932, no folder) of `size` bytes, replacing the one held
  // before, and returns where its bytes go. Throws std::bad_alloc when memory runs out.
  char* HoldSource(std::string name, std::size_t size);
  // Holds a file named `name` that the browser could not read: it is there, but does not open.
  void HoldUnreadableSource(std::string name);
  // The engine path of the held file; empty when none is held.
  std::string SourcePath() const;

  // The files written and complete, in the order they were completed.
  const std::vector<WrittenFile>& Written() const { return written_; }
  // Lets go of the held file and of everything written.
  void Clear();

  std::optional<std::string> FindFirst(std::string_view path) override;
  bool IsFolder(std::string_view path) override;
  std::optional<FileIdentity> IdentityOf(std::string_view path) override;
  CopyOutcome CopyIfAbsent(std::string_view from, std::string_view to) override;
  std::unique_ptr<ByteReader> OpenForReading(std::string_view path) override;
  std::unique_ptr<ByteWriter> OpenForWriting(std::string_view path) override;

 private:
  bool IsSource(std::string_view path) const;
  // The index in written_ of the file `path` names, or nothing.
  std::optional<std::size_t> WrittenIndex(std::string_view path) const;

  std::optional<std::string> sourceName_;
  std::string source_;
  bool sourceReadable_ = false;
  std::vector<WrittenFile> written_;
};

}  // namespace morvel
