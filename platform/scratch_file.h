// The native file systems' scratch: a temporary file of the process's own, deleted when it is
// closed or the process ends.
#pragma once

#include <memory>

#include "engine/outside_world.h"

namespace morvel {

// Nothing when no temporary file can be made.
std::unique_ptr<Scratch> OpenScratchFile();

}  // namespace morvel
