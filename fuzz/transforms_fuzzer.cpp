// Compares the one-pass line transforms with the one-at-a-time reference on random lines.
// The first byte picks the switches, so every combination is covered:
//   bit 0 escapeSpecials, bit 1 autoLinkEnabled, bit 2 lineTagsEnabled, bit 3 lineTagMode;
//   bit 4 turns every switch that is on into 2 instead of 1 (which must count as off, and
//   for lineTagMode as the "<BR>&<P>" mode).
// The rest is split into lines after each "\n" and into pieces of at most 2999 bytes. Each
// line goes through the whole pipeline of both, and through each transform on its own
// (links also on unescaped lines, which hold raw "<" and "\"").
// The rest is also taken as a whole text, as a file holds it (LF or CR LF line ends), and
// goes through WriteLines() in runs of lines cut where the text's own bytes say; its page
// must be the reference's page of the text's lines, every "\n" written as CR LF.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "engine/line_pipeline.h"
#include "tests/oracle/one_at_a_time.h"
#include "text/escape.h"
#include "text/line_tags.h"
#include "text/links.h"
#include "text/page_bytes.h"

namespace {

constexpr std::size_t MAX_LINE = 2999;

void Expect(bool same, const char* what, std::string_view line) {
  if (same) return;
  std::fprintf(stderr, "difference in %s for a line of %zu bytes\n", what, line.size());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace morvel;
  if (size == 0) return 0;
  const unsigned flags = data[0];
  const int on = (flags & 0x10) ? 2 : 1;
  ConversionOptions options;
  options.escapeSpecials = (flags & 0x01) ? on : 0;
  options.autoLinkEnabled = (flags & 0x02) ? on : 0;
  options.lineTagsEnabled = (flags & 0x04) ? on : 0;
  options.lineTagMode = (flags & 0x08) ? on : 0;
  const oracle::Switches switches{options.escapeSpecials, options.autoLinkEnabled,
                                  options.lineTagsEnabled, options.lineTagMode};

  LinePipeline pipeline(options);
  StringSink page;
  oracle::Pipeline reference(switches);
  std::string referencePage;
  std::string escaped;
  std::string linked;
  std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
  while (!rest.empty()) {
    std::size_t length = rest.find('\n');
    length = length == std::string_view::npos ? rest.size() : length + 1;
    if (length > MAX_LINE) length = MAX_LINE;
    const std::string_view line = rest.substr(0, length);
    rest.remove_prefix(length);

    pipeline.WriteLine(line, page);
    reference.WriteLine(line, referencePage);
    Expect(page.text == referencePage, "the pipeline", line);

    Expect(EscapeLine(line, options.escapeSpecials, escaped) ==
               oracle::EscapeLine(std::string(line), options.escapeSpecials),
           "EscapeLine", line);
    Expect(LinkAddresses(line, linked) == oracle::LinkAddresses(std::string(line)), "LinkAddresses",
           line);
    std::string tagged(line);
    TagLineEnd(tagged);
    Expect(tagged == oracle::TagLineEnd(std::string(line)), "TagLineEnd", line);
  }

  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  LinePipeline wholePipeline(options);
  PageBytes wholePage;
  // Runs end after a "\n" whose next byte is even, and at the end of the text.
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = start;
    for (;;) {
      const std::size_t lineFeed = text.find('\n', end);
      if (lineFeed == std::string_view::npos) {
        end = text.size();
        break;
      }
      end = lineFeed + 1;
      if (end == text.size() || static_cast<unsigned char>(text[end]) % 2 == 0) break;
    }
    wholePipeline.WriteLines(text.substr(start, end - start), wholePage);
    start = end;
  }
  Expect(wholePage.View() == oracle::PageOfText(text, switches), "WriteLines", text);
  return 0;
}
