#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "tests/support/temp_folder.h"
#include "text/code_page_932.h"

namespace morvel::testing {

namespace {

std::filesystem::path ToPosix(std::string_view enginePath) {
  std::string path = Cp932ToUtf8(enginePath).value();
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

}  // namespace

TempFolder::TempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "morvel-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  root_ = pattern;
  std::replace(root_.begin(), root_.end(), '/', '\\');
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(ToPosix(root_), ignored);
}

std::string TempFolder::Path(std::string_view name) const {
  return name.empty() ? root_ : root_ + "\\" + std::string(name);
}

void TempFolder::WriteFile(std::string_view name, std::string_view bytes) const {
  std::ofstream(ToPosix(Path(name)), std::ios::binary).write(bytes.data(), bytes.size());
}

void TempFolder::WriteFileNamedInUtf8(std::string_view utf8Name) const {
  std::ofstream(ToPosix(root_) / std::filesystem::path(utf8Name));
}

std::optional<std::string> TempFolder::ReadFile(std::string_view name) const {
  std::ifstream file(ToPosix(Path(name)), std::ios::binary);
  if (!file) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(file), {});
}

void TempFolder::MakeFolder(std::string_view name) const {
  std::filesystem::create_directory(ToPosix(Path(name)));
}

std::vector<std::string> TempFolder::List() const {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(ToPosix(root_))) {
    names.push_back(Utf8ToCp932(entry.path().filename().string()).value_or("?"));
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace morvel::testing
