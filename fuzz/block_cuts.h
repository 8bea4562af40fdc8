// The places where a fuzzer cuts its text into the blocks it hands over, drawn from one byte of
// its input: 0 hands the text over whole; otherwise the blocks are 1 to 1 + (seed & 0x7F) bytes
// long, their sizes drawn from a sequence that the seed starts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace morvel::fuzzing {

// Increasing positions inside a text of `size` bytes.
inline std::vector<std::size_t> BlockCuts(unsigned seed, std::size_t size) {
  std::vector<std::size_t> cuts;
  if (seed == 0) return cuts;
  std::uint32_t sequence = seed;
  const std::size_t longest = 1 + (seed & 0x7F);
  for (std::size_t cut = 0;;) {
    sequence = sequence * 1103515245u + 12345u;
    cut += 1 + (sequence >> 16) % longest;
    if (cut >= size) break;
    cuts.push_back(cut);
  }
  return cuts;
}

// Calls `take(block)` for each block of `text` cut at `cuts`.
template <typename Take>
void InBlocks(std::string_view text, const std::vector<std::size_t>& cuts, Take take) {
  std::size_t from = 0;
  for (const std::size_t cut : cuts) {
    take(text.substr(from, cut - from));
    from = cut;
  }
  take(text.substr(from));
}

}  // namespace morvel::fuzzing
