// Runs the built morvel-convert as a separate process in a folder of its own, with standard
// input that is not a terminal (empty, or bytes given) and both output streams captured. Names
// and texts are UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morvel::testing {

struct ProcessResult {
  int exitStatus = -1;  // -1 when it did not exit by itself
  int killedBy = 0;     // POSIX: the signal that ended it
  std::string out;      // standard output and error, converted to UTF-8
  std::string err;
  std::string outBytes;  // standard output as written
};

// How one run of the converter is started.
struct RunOptions {
  std::string_view standardInput;
  // Standard input stays open after those bytes, and the converter is sent `killSignal` after
  // this many milliseconds (terminated, on Windows). Its exit status is -1 unless it exits by
  // itself.
  std::optional<int> killAfterMs;
  int killSignal = 9;  // SIGKILL
  // POSIX: a file (relative to the work folder, or absolute) that standard output is appended
  // to instead of being captured; an empty name closes standard output.
  std::optional<std::string> standardOutput;
};

class ConverterProcess {
 public:
  ConverterProcess();   // makes a fresh work folder
  ~ConverterProcess();  // removes it with everything in it
  ConverterProcess(const ConverterProcess&) = delete;
  ConverterProcess& operator=(const ConverterProcess&) = delete;

  // Runs the converter with `arguments`, its current folder the work folder.
  ProcessResult Run(const std::vector<std::string>& arguments, const RunOptions& options) const;
  ProcessResult Run(const std::vector<std::string>& arguments, std::string_view standardInput = {},
                    std::optional<int> killAfterMs = std::nullopt) const {
    RunOptions options;
    options.standardInput = standardInput;
    options.killAfterMs = killAfterMs;
    return Run(arguments, options);
  }
  // Runs the converter once for each list of arguments, all at the same time: each one's
  // standard input holds `standardInput` and stays open until every one has started and had
  // `holdMs` to read it, so that they all have their pages open at once.
  std::vector<ProcessResult> RunTogether(const std::vector<std::vector<std::string>>& argumentLists,
                                         std::string_view standardInput, int holdMs) const;

#ifndef _WIN32
  // Runs `script` with bash in the work folder, the converter's path in $MORVEL, as a job of its
  // own: `interruptAfterMs` sends SIGINT to the whole job, as Ctrl+C in a terminal does.
  ProcessResult RunShell(const std::string& script,
                         std::optional<int> interruptAfterMs = std::nullopt) const;
#endif

  // Files and folders of the work folder, by relative UTF-8 name ("/" between folders).
  void WriteFile(std::string_view name, std::string_view bytes) const;
  std::optional<std::string> ReadFile(std::string_view name) const;
  void MakeFolder(std::string_view name) const;
  // The names in the work folder, hidden ones too, sorted.
  std::vector<std::string> List() const;
  // The full path of `name` as the system spells it (UTF-8).
  std::string FullPath(std::string_view name) const;

 private:
  struct Started;
  Started Start(const std::vector<std::string>& arguments, const RunOptions& options) const;
  static ProcessResult Finish(Started& started, const RunOptions& options);

  std::string folder_;
};

}  // namespace morvel::testing
