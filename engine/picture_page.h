// The page for a picture input (IsPicturePath): the picture is copied beside the page and shown
// centred.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "text/sink.h"

namespace morvel {

// Where the picture goes: the target's folder and the picture's own file name.
std::string PictureDestination(std::string_view sourcePath, std::string_view targetPath);

// The picture's body after the page head: the centred image by its bare file name (written
// as it is, unescaped) with the 32 bits of `border` as a signed decimal.
void WritePictureBody(Sink& page, std::string_view pictureFileName, std::uint32_t border);

}  // namespace morvel
