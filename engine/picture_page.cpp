#include "engine/picture_page.h"

#include "text/path_scan.h"
#include "text/primitives.h"

namespace morvel {

bool IsPictureExtension(std::string_view extension) {
  if (extension.empty()) return false;
  for (const std::string_view picture : PICTURE_EXTENSIONS) {
    if (StartsWithNoCase(extension, picture)) return true;
  }
  return false;
}

std::string PictureDestination(std::string_view sourcePath, std::string_view targetPath) {
  std::string destination(FolderPart(targetPath));
  destination.append("\\");
  destination.append(FileNamePart(sourcePath));
  return destination;
}

bool IsPicturePath(std::string_view path) {
  const auto dot = ExtensionDot(path);
  return dot && IsPictureExtension(path.substr(*dot + 1));
}

void WritePictureBody(Sink& page, std::string_view pictureFileName, std::uint32_t border) {
  page.Write("<BR>\n<CENTER><IMG src=\"");
  page.Write(pictureFileName);
  page.Write("\" border=\"");
  page.Write(std::to_string(static_cast<std::int32_t>(border)));
  page.Write("\"></CENTER>");
}

}  // namespace morvel
