// Writing a new version of a file on Windows beside the old one, and swapping it in only once
// it is complete.
#pragma once

#include <memory>
#include <string>

#include "engine/outside_world.h"

namespace morvel {

// Starts a new version of the file at `path`. It is written to a hidden file with a fresh
// temporary name (temporary_name.h) in the page's folder, marked for deletion while it is
// written, so that a killed process leaves nothing behind. Commit() flushes it to the disk
// when it replaces a page, then puts it in place with ReplaceFileW when a page exists (its
// attributes and permissions stay) and with MoveFileExW otherwise. Nothing when the path is a
// folder, a page that cannot be written, or in a folder where no file can be created.
std::unique_ptr<ByteWriter> OpenReplacement(const std::wstring& path);

}  // namespace morvel
