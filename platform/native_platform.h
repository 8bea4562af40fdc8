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

// Once a page is in place, an interruption that arrives before the conversion ends is held over:
// the run ends as the success it is. A front end that goes on to another conversion calls this
// first: the process then dies by a held-over interruption, leaving the conversions not begun
// as they were. Nothing to do on Windows.
void StopIfInterrupted();

// From now on, a write that a reader gone away (a closed pipe) or the file size limit refuses
// fails as an error the program reports, instead of killing the process without a word:
// SIGPIPE and SIGXFSZ are ignored. On Windows such writes fail already.
void ReportRefusedWritesAsFailures();

}  // namespace morvel
