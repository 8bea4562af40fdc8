#include "engine/request_paths.h"

#include "text/path_scan.h"
#include "text/primitives.h"

namespace morvel {

namespace {
constexpr std::string_view PAGE_EXTENSION = "HTM";
}

std::optional<std::string> ResolveSource(std::string_view sourcePath, FileSystem& files) {
  const auto separator = LastSeparator(sourcePath);
  if (!separator) return std::nullopt;
  const auto storedName = files.FindFirst(sourcePath);
  if (!storedName) return std::nullopt;
  std::string resolved(sourcePath.substr(0, *separator + 1));
  resolved.append(*storedName);
  return resolved;
}

bool NeedsPageExtension(std::string_view targetPath) {
  const auto dot = ExtensionDot(targetPath);
  return !dot || !StartsWithNoCase(targetPath.substr(*dot + 1), PAGE_EXTENSION);
}

void ApplyPageExtension(std::string& targetPath) {
  if (const auto dot = ExtensionDot(targetPath)) targetPath.resize(*dot);
  targetPath.append(".htm");
}

std::string PagePathInFolder(std::string_view folder, std::string_view sourcePath) {
  std::string page(folder);
  const auto separator = LastSeparator(page);
  if (!separator || *separator + 1 != page.size()) page += '\\';
  std::string_view name = FileNamePart(sourcePath);
  if (const auto dot = ExtensionDot(name)) name = name.substr(0, *dot);
  page.append(name);
  return page.append(".htm");
}

bool IsPictureExtension(std::string_view extension) {
  if (extension.empty()) return false;
  for (const std::string_view picture : PICTURE_EXTENSIONS) {
    if (StartsWithNoCase(extension, picture)) return true;
  }
  return false;
}

bool IsPicturePath(std::string_view path) {
  const auto dot = ExtensionDot(path);
  return dot && IsPictureExtension(path.substr(*dot + 1));
}

std::string PathKey(std::string_view path) { return FoldedPathText(path); }

}  // namespace morvel
