// A fresh folder on the real file system for one test, removed with everything in it at the
// end. Names and paths are engine paths (code page 932, "\\" between folders).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morvel::testing {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The engine path of `name` inside the folder (of the folder itself when `name` is empty).
  std::string Path(std::string_view name = {}) const;

  void WriteFile(std::string_view name, std::string_view bytes) const;
  // An empty file whose name, in UTF-8, code page 932 may have no spelling for.
  void WriteFileNamedInUtf8(std::string_view utf8Name) const;
  // The file's bytes, or nothing when it cannot be read.
  std::optional<std::string> ReadFile(std::string_view name) const;
  void MakeFolder(std::string_view name) const;
  // Names of the entries in the folder, sorted, as the file system stores them.
  std::vector<std::string> List() const;

 private:
  std::string root_;
};

}  // namespace morvel::testing
