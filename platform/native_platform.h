// The platform services of the machine the program runs on (Win32 or POSIX; the build picks
// the `_win` or `_posix` files).
#pragma once

#include <memory>

#include "engine/outside_world.h"

namespace morvel {

std::unique_ptr<FileSystem> MakeNativeFileSystem();
std::unique_ptr<Clock> MakeSystemClock();

// This process's standard input and output as byte streams, with line ends untouched. Each is
// a duplicate of the standard stream, so closing it leaves the process's own stream open.
// Nothing when the stream is not there.
std::unique_ptr<ByteReader> OpenStandardInput();
std::unique_ptr<ByteWriter> OpenStandardOutput();

}  // namespace morvel
