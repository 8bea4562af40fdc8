// The page for a picture input: the picture is copied beside the page and shown centred.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "text/sink.h"

namespace morvel {

// Extensions that make an input a picture, tried as case-insensitive prefixes of its
// extension ("jpgx" and "bmp2" are pictures too).
inline constexpr std::string_view PICTURE_EXTENSIONS[] = {"JPG", "JPEG", "GIF", "BMP",
                                                          "DIB", "PNG",  "RLE"};

// True when one of PICTURE_EXTENSIONS begins `extension`. An empty extension never does.
bool IsPictureExtension(std::string_view extension);

// Where the picture goes: the target's folder and the picture's own file name.
std::string PictureDestination(std::string_view sourcePath, std::string_view targetPath);

// The picture's body after the page head: the centred image by its bare file name (written
// as it is, unescaped) with the 32 bits of `border` as a signed decimal.
void WritePictureBody(Sink& page, std::string_view pictureFileName, std::uint32_t border);

// True when the file-name part of `path` has a picture's extension.
bool IsPicturePath(std::string_view path);

}  // namespace morvel
