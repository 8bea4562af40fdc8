#include "text/path_scan.h"

#include "text/encoding.h"

namespace morvel {

namespace {

// Calls visit(position, byte) for the first byte of every single-byte character; double-byte
// characters are stepped over whole. A lead byte at the very end stands alone.
template <typename Visit>
void ForEachSingleByteChar(std::string_view text, Visit visit) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (IsLeadByte(text[i]) && i + 1 < text.size()) {
      ++i;
      continue;
    }
    visit(i, text[i]);
  }
}

}  // namespace

std::optional<std::size_t> LastSeparator(std::string_view path) {
  std::optional<std::size_t> last;
  ForEachSingleByteChar(path, [&](std::size_t i, char c) {
    if (c == '\\') last = i;
  });
  return last;
}

std::string_view FileNamePart(std::string_view path) {
  const auto separator = LastSeparator(path);
  return separator ? path.substr(*separator + 1) : path;
}

std::string_view FolderPart(std::string_view path) {
  const auto separator = LastSeparator(path);
  return separator ? path.substr(0, *separator) : std::string_view{};
}

std::optional<std::size_t> ExtensionDot(std::string_view path) {
  std::optional<std::size_t> dot;
  ForEachSingleByteChar(path, [&](std::size_t i, char c) {
    if (c == '\\') dot.reset();
    if (c == '.') dot = i;
  });
  return dot;
}

bool SamePathText(std::string_view a, std::string_view b, bool foldCase) {
  if (!foldCase) return a == b;
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (IsLeadByte(a[i]) && i + 1 < a.size()) {
      if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
      ++i;
      continue;
    }
    if (FoldAsciiCase(a[i]) != FoldAsciiCase(b[i])) return false;
  }
  return true;
}

std::string FoldedPathText(std::string_view path, bool foldCase) {
  std::string folded(path);
  if (!foldCase) return folded;
  ForEachSingleByteChar(folded, [&](std::size_t i, char c) { folded[i] = FoldAsciiCase(c); });
  return folded;
}

bool HasReservedNameChar(std::string_view fileName) {
  bool found = false;
  ForEachSingleByteChar(fileName, [&](std::size_t, char c) {
    if (RESERVED_NAME_CHARS.find(c) != std::string_view::npos) found = true;
  });
  return found;
}

bool HasWildcard(std::string_view fileName) {
  bool found = false;
  ForEachSingleByteChar(fileName, [&](std::size_t, char c) {
    if (c == '*' || c == '?') found = true;
  });
  return found;
}

bool MatchesFileNamePattern(std::string_view name, std::string_view pattern, bool foldCase) {
  const auto charLength = [](std::string_view s, std::size_t i) -> std::size_t {
    return (IsLeadByte(s[i]) && i + 1 < s.size()) ? 2 : 1;
  };
  std::size_t n = 0, p = 0;
  std::size_t starPattern = std::string_view::npos, starName = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starPattern = ++p;
      starName = n;
      continue;
    }
    if (p < pattern.size()) {
      const std::size_t pl = charLength(pattern, p), nl = charLength(name, n);
      const bool same =
          (pattern[p] == '?' && pl == 1) ||
          (pl == nl && (pl == 2    ? pattern.substr(p, 2) == name.substr(n, 2)
                        : foldCase ? FoldAsciiCase(pattern[p]) == FoldAsciiCase(name[n])
                                   : pattern[p] == name[n]));
      if (same) {
        p += pl;
        n += nl;
        continue;
      }
    }
    if (starPattern == std::string_view::npos) return false;
    p = starPattern;
    starName += charLength(name, starName);
    n = starName;
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace morvel
