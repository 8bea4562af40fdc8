#include "engine/picture_page.h"

#include "text/path_scan.h"

namespace morvel {

std::string PictureDestination(std::string_view sourcePath, std::string_view targetPath) {
  std::string destination(FolderPart(targetPath));
  destination.append("\\");
  destination.append(FileNamePart(sourcePath));
  return destination;
}

void WritePictureBody(Sink& page, std::string_view pictureFileName, std::uint32_t border) {
  page.Write("<BR>\n<CENTER><IMG src=\"");
  page.Write(pictureFileName);
  page.Write("\" border=\"");
  page.Write(std::to_string(static_cast<std::int32_t>(border)));
  page.Write("\"></CENTER>");
}

}  // namespace morvel
