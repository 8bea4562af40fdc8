// Writing a new version of a file on POSIX beside the old one, and swapping it in only once it
// is complete.
#pragma once

#include <memory>
#include <string>

#include "engine/outside_world.h"
#include "platform/temporary_name.h"

namespace morvel {

// Starts a new version of the file at `path` (a POSIX path). The new file gets the old one's
// permission bits; a symbolic link is followed, so the file it names is replaced and the link
// stays. On Linux the new version is an unnamed file until it is complete; elsewhere it is
// the hidden file named after the page (always, with TemporaryKind::Named), and a stale one
// left by a killed run is removed here.
// Something that is not a regular file (a device, a pipe) is written in place. Nothing when
// the path is a folder, an existing file that cannot be written, or in a folder where no file
// can be created.
enum class TemporaryKind { UnnamedWherePossible, Named };
std::unique_ptr<ByteWriter> OpenReplacement(
    const std::string& path, TemporaryKind kind = TemporaryKind::UnnamedWherePossible);

// Starts a file at `path`, which must not exist: on Linux it is unnamed until Commit() gives
// it that name, which fails (errno EEXIST) when something else has taken the name meanwhile;
// elsewhere it is created under that name at once, and removed unless committed. Nothing
// (errno EEXIST when the name is taken) when it cannot be created.
std::unique_ptr<ByteWriter> OpenNewFile(const std::string& path);

}  // namespace morvel
