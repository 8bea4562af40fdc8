#include "text/escape.h"

#include <array>

namespace morvel {

namespace {

// Which bytes a pass replaces: 0 none, otherwise an index into REPLACEMENTS.
using ReplacementIndex = std::array<unsigned char, 256>;

constexpr std::array<std::string_view, 6> REPLACEMENTS = {
    "", "&amp;", "&quot;", "&lt;", "&gt;", TAB_REPLACEMENT};

constexpr ReplacementIndex MakeIndex(bool escapeSpecials) {
  ReplacementIndex index{};
  if (escapeSpecials) {
    index['&'] = 1;
    index['"'] = 2;
    index['<'] = 3;
    index['>'] = 4;
  }
  index['\t'] = 5;
  return index;
}

constexpr ReplacementIndex TABS_ONLY = MakeIndex(false);
constexpr ReplacementIndex TABS_AND_SPECIALS = MakeIndex(true);

}  // namespace

void EscapeLine(std::string_view line, int escapeSpecials, std::string& result) {
  const ReplacementIndex& index = escapeSpecials == 1 ? TABS_AND_SPECIALS : TABS_ONLY;
  result.clear();
  const auto* const bytes = reinterpret_cast<const unsigned char*>(line.data());
  const std::size_t size = line.size();
  std::size_t copied = 0;
  for (std::size_t i = 0; i < size; ++i) {
    const unsigned char which = index[bytes[i]];
    if (which == 0) continue;
    result.append(line.data() + copied, i - copied);
    result.append(REPLACEMENTS[which]);
    copied = i + 1;
  }
  result.append(line.data() + copied, size - copied);
}

}  // namespace morvel
