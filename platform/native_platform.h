// The platform services of the machine the program runs on (Win32 or POSIX; the build picks
// the `_win` or `_posix` files).
#pragma once

#include <memory>
#include <optional>

#include "engine/outside_world.h"

namespace morvel {

std::unique_ptr<FileSystem> MakeNativeFileSystem();
std::unique_ptr<Clock> MakeSystemClock();

// This process's standard input and output as byte streams, with line ends untouched. Each is
// a duplicate of the standard stream, so closing it leaves the process's own stream open.
// Nothing when the stream is not there.
std::unique_ptr<ByteReader> OpenStandardInput();
std::unique_ptr<ByteWriter> OpenStandardOutput();

// The identity of the file that standard input or output is (as FileSystem::IdentityOf gives
// it), or nothing when it is not a file on disk (a terminal, a pipe, a device) or is closed.
std::optional<FileIdentity> StandardInputIdentity();
std::optional<FileIdentity> StandardOutputIdentity();

// From now on, an interruption (SIGINT, SIGTERM, SIGHUP) removes the temporary files the
// process is writing and the process dies by that signal; a signal the process was started with
// ignored stays ignored. On Windows there is nothing to do: those files are marked for
// deletion and go with the process, however it ends.
void RemoveTemporariesWhenInterrupted();

}  // namespace morvel
