// The converter on POSIX: UTF-8 arguments and terminal, paths with "/" mapped onto the
// engine's "\\" paths.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <iostream>

#include "cli/host.h"
#include "engine/morvel.h"
#include "platform/native_platform.h"

namespace morvel::cli {

namespace {

// The current folder, or nothing when it cannot be had.
std::optional<std::string> CurrentFolder() {
  std::string buffer(256, '\0');
  for (;;) {
    if (getcwd(buffer.data(), buffer.size())) {
      buffer.resize(std::char_traits<char>::length(buffer.c_str()));
      return buffer;
    }
    if (errno != ERANGE) return std::nullopt;
    buffer.resize(buffer.size() * 2);
  }
}

// Drops "." components and repeated "/" so that the page's path reads as the user means it.
std::string Tidy(std::string_view path) {
  std::string tidy;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find('/', start);
    if (end == std::string_view::npos) end = path.size();
    const std::string_view part = path.substr(start, end - start);
    const bool last = end == path.size();
    if (part != "." && !(part.empty() && !last)) {
      tidy += '/';
      tidy += part;
    } else if (last) {
      tidy += '/';
    }
    start = end + 1;
  }
  return tidy;
}

// A standard stream the converter was started without gets a stand-in, /dev/null opened the
// other way round, so that no file the run opens takes its number (a line meant for standard
// output must never land in a page) while reading or writing it fails as before.
void HoldClosedStandardStreams() {
  for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
    if (fcntl(fd, F_GETFD) == -1 && errno == EBADF) {
      open("/dev/null", fd == STDIN_FILENO ? O_WRONLY : O_RDONLY);
    }
  }
}

class PosixConsole final : public Console {
 public:
  PosixConsole() { HoldClosedStandardStreams(); }
  bool Out(std::string_view line) override { return WriteLine(stdout, line); }
  void Err(std::string_view line) override { WriteLine(stderr, line); }
  bool CanAsk() override { return isatty(STDIN_FILENO) == 1; }
  std::optional<std::string> Ask(std::string_view prompt) override {
    std::fwrite(prompt.data(), 1, prompt.size(), stderr);
    std::fflush(stderr);
    std::string answer;
    if (!std::getline(std::cin, answer)) return std::nullopt;
    return answer;
  }

 private:
  static bool WriteLine(std::FILE* stream, std::string_view line) {
    const bool written = std::fwrite(line.data(), 1, line.size(), stream) == line.size() &&
                         std::fputc('\n', stream) != EOF && std::fflush(stream) == 0;
    if (!written) std::clearerr(stream);
    return written;
  }
};

}  // namespace

void LoadLibrariesFromTheSystemOnly() {}

std::vector<std::string> HostArguments(int argc, char** argv) {
  return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

std::optional<std::string> ToEngineText(std::string_view text) { return EngineTextFromUtf8(text); }

std::string ToHostText(std::string_view engineText) { return Utf8FromEngineText(engineText); }

EnginePath ToEnginePath(std::string_view path) {
  // An empty name goes to the engine, which asks for one.
  if (path.empty()) return {};
  if (path.find('\\') != std::string_view::npos) {
    return {{}, "a path with a backslash (\\) cannot be used here"};
  }
  std::string full;
  if (!path.starts_with('/')) {
    const auto folder = CurrentFolder();
    if (!folder) return {{}, "the current folder cannot be read"};
    full = *folder + "/";
  }
  full += path;
  auto engine = ToEngineText(Tidy(full));
  if (!engine) return {{}, "the path holds a character that code page 932 cannot hold"};
  // "/" is never the second byte of a double-byte character, so each one is a separator.
  for (char& c : *engine) {
    if (c == '/') c = '\\';
  }
  return {std::move(*engine), {}};
}

std::string DisplayPath(std::string_view enginePath) {
  std::string path = ToHostText(enginePath);
  // UTF-8 holds no "\\" inside a character: every one left is a separator.
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  return path;
}

std::unique_ptr<Console> MakeHostConsole() { return std::make_unique<PosixConsole>(); }

}  // namespace morvel::cli
