// Compares the text page writer with the one-at-a-time reference on random texts, handed to
// the writer in blocks cut anywhere.
//   Byte 0 picks the switches: bits 0-3 escapeSpecials, autoLinkEnabled, lineTagsEnabled and
//   the "<BR>" mode; bit 4 writes the text's UTF-8 page (a text that code page 932 cannot
//   spell is passed over); bit 5 takes the SSE2 scan where the build has it, the byte loop
//   otherwise.
//   Byte 1 picks the cuts (fuzz/block_cuts.h).
// The rest is the text, as a file holds it (LF or CR LF line ends); its page must be the
// reference's page of its lines, every "\n" written as CR LF; its UTF-8 page, that page in UTF-8.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/block_cuts.h"
#include "tests/oracle/one_at_a_time.h"
#include "tests/oracle/utf8_page.h"
#include "tests/support/written_page.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace morvel;
  if (size < 2) return 0;
  const unsigned flags = data[0];
  const unsigned cutSeed = data[1];
  const ConversionOptions options = testing::SwitchesFrom(flags & 0x0F);
  const std::vector<ScanPath> paths = testing::ScanPaths();
  const ScanPath scan = paths[((flags >> 5) & 3) % paths.size()];
  std::string_view text(reinterpret_cast<const char*>(data + 2), size - 2);
  std::string expected = oracle::PageOfText(text, testing::ReferenceSwitches(options));
  const bool utf8 = flags & 0x10;
  std::optional<std::string> utf8Text;
  if (utf8) {
    utf8Text = oracle::CodePage932ToUtf8(text);
    auto utf8Page = oracle::CodePage932ToUtf8(expected);
    if (!utf8Text || !utf8Page) return 0;
    text = *utf8Text;
    expected = std::move(*utf8Page);
  }

  const std::vector<std::size_t> cuts = fuzzing::BlockCuts(cutSeed, text.size());

  if (testing::WrittenPage(text, options, scan, cuts,
                           utf8 ? PageEncoding::Utf8 : PageEncoding::CodePage932) != expected) {
    std::fprintf(stderr, "the page differs for a text of %zu bytes in %zu blocks\n", text.size(),
                 cuts.size() + 1);
    std::abort();
  }
  return 0;
}
