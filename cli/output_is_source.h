// A run whose page goes to standard output while standard output is one of its sources would
// read what it writes, and an appended source grows without end. Such a run is refused before
// anything is read, as `cat` refuses "input file is output file".
#pragma once

#include <optional>

#include "cli/batch.h"
#include "engine/morvel.h"

namespace morvel::cli {

// The first job that writes standard output and reads the file standard output is: its SOURCE
// under any name (a wildcard resolved as the engine resolves it), or standard input that is
// that same file. `input` and `output` are the identities of standard input and output
// (nothing when they are not files). Nothing when there is none.
const Job* JobReadingItsOwnOutput(const Batch& batch, FileSystem& files,
                                  std::optional<FileIdentity> input,
                                  std::optional<FileIdentity> output);

}  // namespace morvel::cli
