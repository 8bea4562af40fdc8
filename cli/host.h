// What the converter needs from the system it runs on, beyond the engine's platform: its
// arguments, the text encodings of the terminal and of the engine, and full paths.
//
// "Host text" is UTF-8 on every system: the arguments arrive in it (Windows' wide command line
// is converted) and the console converts it to what the terminal shows. "Engine text" is code
// page 932, the encoding of the engine's paths, titles and messages.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/console.h"

namespace morvel::cli {

// The command line's arguments, without the program's name, as host text.
std::vector<std::string> HostArguments(int argc, char** argv);

// Called first thing: on Windows, libraries are loaded from System32 only, never from the
// program's own folder (often Downloads, where a planted DLL would be loaded in their place).
void LoadLibrariesFromTheSystemOnly();

// Code page 932 bytes for `text`, or nothing when it holds a character that code page 932
// cannot hold (never a substitute character: "?" would be a wildcard in a path).
std::optional<std::string> ToEngineText(std::string_view text);

// The engine's text as host text; bytes that are not code page 932 text are shown as "?".
std::string ToHostText(std::string_view engineText);

struct EnginePath {
  std::string path;     // a full engine path, when `problem` is empty
  std::string problem;  // otherwise one line saying why the path cannot be used
};

// `path` (host text, relative to the current folder or absolute) as a full engine path.
EnginePath ToEnginePath(std::string_view path);

// An engine path as the user would type it on this system (host text).
std::string DisplayPath(std::string_view enginePath);

// The standard streams of this process.
std::unique_ptr<Console> MakeHostConsole();

}  // namespace morvel::cli
