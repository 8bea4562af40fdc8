// One run of the converter: the files of the command line, prepared for the engine, and the
// conversions themselves.
#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "cli/command_line.h"
#include "cli/console.h"
#include "cli/console_user_interface.h"
#include "engine/morvel.h"

namespace morvel::cli {

struct Job {
  std::string label;            // SOURCE as it was typed (host text)
  std::string source;           // engine paths
  std::string target;           // empty in --out-dir mode, where it derives from the source
  bool standardInput = false;   // SOURCE is "-": `source` is empty
  bool standardOutput = false;  // TARGET is "-": `target` is empty
};

// Everything in engine text, ready for ConvertFile.
struct Batch {
  std::vector<Job> jobs;
  std::optional<std::string> outDir;
  ConversionOptions options;
  std::string title;
  PresetAnswers answers;
  bool quiet = false;
  TextEncodingChoice textEncoding = TextEncodingChoice::Auto;
  PageEncodingChoice pageEncoding = PageEncodingChoice::Auto;
  PageLanguageChoice language = PageLanguageChoice::Auto;
  std::string languageTag;
};

// What the run gives the engine besides the batch: standard input and output for the jobs that
// use them (UsesStandardInput(), UsesStandardOutput()).
struct RunStreams {
  ByteReader* input = nullptr;
  ByteWriter* output = nullptr;
  // Called before each conversion after the first: it may end the process, interrupted once the
  // previous page was in place, so that the conversions not begun are left as they were.
  void (*beforeAnother)() = nullptr;
};

// Converts the paths of `commandLine` for the engine; a path the engine cannot take, or a title
// that is not UTF-8, is a usage error.
std::variant<Batch, UsageError> PrepareBatch(const CommandLine& commandLine);

// The page a source becomes in `outDir`: the source's name without its extension, plus
// ".htm". A wildcard name is resolved first, as the engine will resolve it.
std::string PagePathFor(std::string_view source, std::string_view outDir, FileSystem& files);

// True when a job reads standard input or writes standard output.
bool UsesStandardInput(const Batch& batch);
bool UsesStandardOutput(const Batch& batch);

// Runs every job and returns the exit status.
int RunBatch(Batch& batch, FileSystem& files, Clock& clock, Console& console,
             RunStreams streams = {});

}  // namespace morvel::cli
