// The platform services of the machine the program runs on (Win32 or POSIX; the build picks
// the `_win` or `_posix` files).
#pragma once

#include <memory>

#include "engine/platform.h"

namespace morvel {

std::unique_ptr<FileSystem> MakeNativeFileSystem();
std::unique_ptr<Clock> MakeSystemClock();

}  // namespace morvel
