// The benchmark's inputs: a generated code page 932 text and one long line of entities, tabs
// and addresses, both kept in memory and written to files once.
#pragma once

#include <string>
#include <string_view>

namespace morvel::bench {

struct BenchInput {
  std::string bytes;       // the file's bytes, CR LF line ends
  std::string posixPath;   // the file
  std::string enginePath;  // the same, as the engine spells it
};

// About 50 MB of Japanese prose with ASCII words, punctuation, some tabs, "&", "<", "\"",
// addresses and empty lines; the same bytes on every run.
const BenchInput& JapaneseText();

// One line of 10 MB made of "&", tabs and "http://x/ ", without a line end.
const BenchInput& LongLine();

// Where the benchmarks write their pages.
std::string OutputPath(std::string_view name, bool enginePath);

}  // namespace morvel::bench
