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
  int exitStatus = -1;
  std::string out;  // standard output and error, converted to UTF-8
  std::string err;
  std::string outBytes;  // standard output as written
};

class ConverterProcess {
 public:
  ConverterProcess();   // makes a fresh work folder
  ~ConverterProcess();  // removes it with everything in it
  ConverterProcess(const ConverterProcess&) = delete;
  ConverterProcess& operator=(const ConverterProcess&) = delete;

  // Runs the converter with `arguments`, its current folder the work folder, reading
  // `standardInput`. With `killAfterMs`, standard input stays open after those bytes and the
  // converter is killed after that many milliseconds (its exit status is then -1).
  ProcessResult Run(const std::vector<std::string>& arguments, std::string_view standardInput = {},
                    std::optional<int> killAfterMs = std::nullopt) const;

  // Files and folders of the work folder, by relative UTF-8 name ("/" between folders).
  void WriteFile(std::string_view name, std::string_view bytes) const;
  std::optional<std::string> ReadFile(std::string_view name) const;
  void MakeFolder(std::string_view name) const;
  // The full path of `name` as the system spells it (UTF-8).
  std::string FullPath(std::string_view name) const;

 private:
  std::string folder_;
};

}  // namespace morvel::testing
