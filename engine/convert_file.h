// The one entry of the conversion engine.
#pragma once

#include <string>

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

// The encoding of a text input. UTF-8 becomes code page 932 as it is read, each character code
// page 932 lacks a numeric character reference.
enum class TextEncoding { Cp932, Utf8 };

// Answers given before the request starts: a question answered OK here is not asked.
struct PresetAnswers {
  bool fixExtension = false;  // give the target ".htm"
  bool overwrite = false;     // replace an existing target
};

// One conversion. Paths are in the engine's vocabulary ("\\" between folders, code page 932),
// and so is the title, which is written as it is.
struct ConversionRequest {
  // Rewritten by ConvertFile: `sourcePath` to the name the file system stores (a wildcard
  // resolves to its first match), `targetPath` with ".htm" when the user accepts that fix.
  std::string sourcePath;
  std::string targetPath;
  ConversionOptions options;
  std::string title;
  PresetAnswers answers;
  // Streams the caller has opened itself (standard input and output), each in place of one
  // path. No check applies to a stream; a text read from one is never a picture, and a page
  // written to one is written as it goes, with no completion message.
  ByteReader* input = nullptr;   // read instead of the file at sourcePath
  ByteWriter* output = nullptr;  // written instead of the file at targetPath
  TextEncoding encoding = TextEncoding::Cp932;
};

// Checks both paths in their fixed order, asking and telling the user through
// `platform.user`, then writes the page for the request's source at its target. Nothing is
// written to disk before every check has passed.
ConversionOutcome ConvertFile(ConversionRequest& request, Platform& platform);

}  // namespace morvel
