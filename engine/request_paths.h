// The engine's rules for the paths of a request, for the checks and for front ends that name
// pages themselves or treat pictures apart. Paths are engine paths ("\\" between folders, code
// page 932).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "engine/outside_world.h"

namespace morvel {

// The source path with its file-name part replaced by the name the file system stores (a
// wildcard resolves to its first match). Nothing when the path has no folder part or names
// nothing.
std::optional<std::string> ResolveSource(std::string_view sourcePath, FileSystem& files);

// True when the target needs the ".htm" fix: its extension does not begin with "htm" in any
// case, or it has no extension.
bool NeedsPageExtension(std::string_view targetPath);

// Replaces the target's extension, if any, by ".htm".
void ApplyPageExtension(std::string& targetPath);

// The page that `sourcePath` becomes in `folder`: the source's file name without its extension,
// plus ".htm".
std::string PagePathInFolder(std::string_view folder, std::string_view sourcePath);

// Extensions that make an input a picture, tried as case-insensitive prefixes of its
// extension ("jpgx" and "bmp2" are pictures too).
inline constexpr std::string_view PICTURE_EXTENSIONS[] = {"JPG", "JPEG", "GIF", "BMP",
                                                          "DIB", "PNG",  "RLE"};

// True when one of PICTURE_EXTENSIONS begins `extension`. An empty extension never does.
bool IsPictureExtension(std::string_view extension);

// True when the file-name part of `path` has a picture's extension.
bool IsPicturePath(std::string_view path);

// A key that two spellings of one path share when they differ only in the case of "a"-"z", so
// that it can key a map of paths.
std::string PathKey(std::string_view path);

}  // namespace morvel
