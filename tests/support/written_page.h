// The text page writer run over text in memory, for the unit tests and the fuzzer: the page
// bytes it writes for a text handed to it in blocks, on a chosen scan path. No Japanese here:
// the fuzzer's clang build includes it.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/conversion_options.h"
#include "engine/page_writer.h"
#include "engine/text_body_writer.h"
#include "tests/oracle/one_at_a_time.h"
#include "tests/support/scan_paths.h"

namespace morvel::testing {

// Collects what a PageWriter writes.
class StringByteWriter final : public ByteWriter {
 public:
  bool Write(std::string_view bytes) override {
    text.append(bytes);
    return true;
  }
  bool Commit() override { return true; }
  std::string text;
};

// The switches in `bits`: bit 0 escapeSpecials, bit 1 autoLinkEnabled, bit 2
// lineTagsEnabled, bit 3 the "<BR>" mode.
inline ConversionOptions SwitchesFrom(unsigned bits) {
  ConversionOptions options;
  options.escapeSpecials = bits & 1;
  options.autoLinkEnabled = bits & 2;
  options.lineTagsEnabled = bits & 4;
  options.lineTagMode = (bits & 8) ? LineTagMode::BreaksOnly : LineTagMode::BreaksAndParagraphs;
  return options;
}

inline oracle::Switches ReferenceSwitches(const ConversionOptions& options) {
  return {options.escapeSpecials, options.autoLinkEnabled, options.lineTagsEnabled,
          options.lineTagMode == LineTagMode::BreaksOnly};
}

// The page bytes written for `text` cut into blocks that end at `cuts` (increasing positions
// inside the text), then Finish().
inline std::string WrittenPage(std::string_view text, const ConversionOptions& options,
                               ScanPath scan, std::span<const std::size_t> cuts = {},
                               PageEncoding encoding = PageEncoding::CodePage932) {
  // One page buffer for every call: the tests write thousands of short pages, and a fresh
  // buffer for each would cost more than writing it.
  static StringByteWriter file;
  static PageWriter page(file);
  file.text.clear();
  TextBodyWriter writer(options, page, encoding, scan);
  std::size_t start = 0;
  for (const std::size_t cut : cuts) {
    writer.Write(text.substr(start, cut - start));
    start = cut;
  }
  writer.Write(text.substr(start));
  writer.Finish();
  page.Finish();
  return file.text;
}

// The page written for `text` on every scan path, whole and cut once at every position (at
// some 500 positions spread over a longer text): that page when they all agree, otherwise a
// note of the first that differs.
inline std::string PageOfBlocks(std::string_view text, const ConversionOptions& options) {
  const std::string page = WrittenPage(text, options, ScanPath::Bytes);
  const std::size_t stride = 1 + text.size() / 512;
  for (const ScanPath scan : ScanPaths()) {
    for (std::size_t cut = 0; cut < text.size(); cut += stride) {
      const std::size_t cuts[] = {cut};
      if (WrittenPage(text, options, scan, cuts) != page) {
        return "differs on scan path " + std::to_string(static_cast<int>(scan)) + " cut at " +
               std::to_string(cut);
      }
    }
  }
  return page;
}

}  // namespace morvel::testing
