// Writing a new version of a file on POSIX beside the old one, and swapping it in only once it
// is complete.
#pragma once

#include <memory>
#include <string>

#include "engine/outside_world.h"
#include "platform/temporary_name.h"

namespace morvel {

// Where a page is written until it is complete. On Linux it is an unnamed file; elsewhere, or
// where the file system has none, and always with `Named` (which the tests use to reach that
// path on Linux), it is a hidden file with a fresh temporary name (temporary_name.h).
enum class TemporaryKind { UnnamedWherePossible, Named };

// Starts a new version of the file at `path` (a POSIX path). The new file gets the old one's
// permission bits; a symbolic link is followed, so the file it names is replaced and the link
// stays. Commit() flushes a file that replaces another to the disk before it takes its place,
// then the folder. Each run writes a file of its own, held locked while it is open: files of
// the temporary shape that no run holds, left by runs killed outright, are removed from the
// folder here first.
// Something that is not a regular file (a device, a pipe) is written in place. Nothing when
// the path is a folder, a loop of links, an existing file that cannot be written, or in a
// folder where no file can be created.
std::unique_ptr<ByteWriter> OpenReplacement(
    const std::string& path, TemporaryKind kind = TemporaryKind::UnnamedWherePossible);

// Starts a file at `path`, which must not exist: Commit() gives the complete file that name,
// and fails (errno EEXIST) when something else has taken the name meanwhile. Nothing when
// the file cannot be started.
std::unique_ptr<ByteWriter> OpenNewFile(const std::string& path);

// The native file system, its pages written the way `kind` says.
std::unique_ptr<FileSystem> MakeNativeFileSystem(TemporaryKind kind);

}  // namespace morvel
