// The one entry of the conversion engine.
#pragma once

#include <string>
#include <string_view>

#include "engine/conversion_options.h"
#include "engine/outside_world.h"

namespace morvel {

// How a request ended. The window ignores it (the user has seen a message box for every
// outcome); the command-line converter turns it into its exit status.
enum class ConversionOutcome {
  Written,  // the page is complete on disk and the completion message was shown
  Refused,  // a check failed, or a question was answered with Cancel; nothing was written
  Failed,   // the page could not be opened, read, written or its picture copied
};

// What a caller (the command line) can add to a request beyond the window's settings.
struct RequestExtras {
  // Streams the caller has opened itself (standard input and output), each in place of one
  // path. No check applies to a stream; a text read from one is never a picture, and a page
  // written to one is written as it goes, with no completion message.
  ByteReader* input = nullptr;   // read instead of the file at sourcePath
  ByteWriter* output = nullptr;  // written instead of the file at targetPath
  // When set, the text is UTF-8, turned into code page 932 through this encoder.
  TextEncoder* utf8 = nullptr;
};

// Checks both paths in their fixed order, asking and telling the user through
// `platform.user`, then writes the page for `sourcePath` at `targetPath`.
//
// `sourcePath` is rewritten to the name the file system stores (a wildcard resolves to its
// first match) and `targetPath` gets ".htm" when the user accepts that fix; both are paths
// in the engine's vocabulary ("\\" between folders, code page 932). Nothing is written to disk
// before every check has passed. `extras` may replace either path by a stream and name the
// input's encoding.
ConversionOutcome ConvertFile(std::string& sourcePath, std::string& targetPath,
                              const ConversionOptions& options, std::string_view bgColour,
                              std::string_view textColour, std::string_view title,
                              Platform& platform, RequestExtras extras = {});

}  // namespace morvel
