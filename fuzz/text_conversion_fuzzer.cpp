// Converts random texts whole, through ConvertFile and the in-memory platform, with the text's
// encoding found from its bytes, and again with the encoding the slow reference finds
// (tests/oracle/text_encodings.h) given: both must end alike, with the same page and the same
// messages (a failed page on a stream: as much of the same page). Found from the bytes, a file
// may be written up to three times (its encoding settled late), which the second conversion
// never is; texts are made longer than the first bytes the choice rests on to reach those
// restarts.
//   Byte 0: bits 0-3 the switches (as the writer's fuzzer takes them), bit 4 the update box,
//   bits 5-6 the page's encoding (auto, code page 932, UTF-8, auto), bit 7 reads the text as
//   standard input.
//   Byte 1: bits 0-1 the text's shape: the rest as it is; its first part, ASCII past the first
//   bytes, its second part; its first part repeated past them, its second part; the first part,
//   line feeds past them, the second part. Bit 2 writes the page to a stream. Bits 3-7 the
//   size of the file's reads: 1 << (bits 3-6), plus 3 with bit 7.
//   Byte 2: where the rest is split into its two parts, in 256ths of its length.
// The rest is the text.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "engine/morvel.h"
#include "tests/oracle/text_encodings.h"
#include "tests/support/fake_platform.h"
#include "tests/support/written_page.h"
#include "text/encoding_classifier.h"

namespace morvel {
namespace {

constexpr std::size_t HEAD = EncodingClassifier::STANDARD_INPUT_LIMIT;
constexpr const char* SOURCE = "C:\\in\\text.txt";
constexpr const char* TARGET = "C:\\out\\page.htm";
constexpr std::string_view OLD_PAGE = "old page";

[[noreturn]] void Fails(const char* what) {
  std::fprintf(stderr, "%s\n", what);
  std::abort();
}

struct Conversion {
  ConversionOutcome outcome = ConversionOutcome::Failed;
  std::string page;
  std::vector<testing::ShownMessage> shown;
  long reads = 0;  // the times the file was opened for reading
};

Conversion Convert(std::string_view text, TextEncodingChoice textEncoding, unsigned flags,
                   unsigned shape, std::size_t readSize) {
  testing::FakePlatform fake;
  fake.files.AddFolder("C:\\in");
  fake.files.AddFolder("C:\\out");
  fake.files.AddFile(SOURCE, std::string(text)).readSize = readSize;
  fake.files.AddFile(TARGET, std::string(OLD_PAGE));
  ConversionRequest request;
  request.sourcePath = SOURCE;
  request.targetPath = TARGET;
  request.options = testing::SwitchesFrom(flags & 0x0F);
  request.options.stampEnabled = flags & 0x10;
  request.title = "T";
  request.answers.overwrite = true;
  request.textEncoding = textEncoding;
  const unsigned page = (flags >> 5) & 3;
  request.pageEncoding = page == 1   ? PageEncodingChoice::CodePage932
                         : page == 2 ? PageEncodingChoice::Utf8
                                     : PageEncodingChoice::Auto;
  std::unique_ptr<ByteReader> input;
  if (flags & 0x80) request.input = (input = fake.files.OpenForReading(SOURCE)).get();
  testing::StringByteWriter stream;
  if (shape & 4) request.output = &stream;

  Conversion conversion;
  conversion.outcome = ConvertFile(request, fake.platform);
  if (fake.files.PendingWrites() != 0) Fails("a page was left unfinished");
  conversion.page = request.output ? stream.text : fake.files.Contents(TARGET);
  if (conversion.outcome != ConversionOutcome::Written && !request.output &&
      conversion.page != OLD_PAGE) {
    Fails("a failed conversion replaced the page");
  }
  conversion.shown = fake.user.shown;
  for (const std::string& opened : fake.files.opened) conversion.reads += opened.starts_with("r:");
  return conversion;
}

TextEncodingChoice Given(oracle::FoundEncoding found) {
  switch (found) {
    case oracle::FoundEncoding::Utf8:
    case oracle::FoundEncoding::Utf8WithMark:
      return TextEncodingChoice::Utf8;
    case oracle::FoundEncoding::Utf16Le:
      return TextEncodingChoice::Utf16Le;
    case oracle::FoundEncoding::Utf16Be:
      return TextEncodingChoice::Utf16Be;
    case oracle::FoundEncoding::CodePage932:
      break;
  }
  return TextEncodingChoice::CodePage932;
}

// The text in its shape: its parts around a filler that takes it past the first HEAD bytes.
std::string Shaped(std::string_view rest, unsigned shape, unsigned split) {
  const std::string_view first = rest.substr(0, rest.size() * split / 256);
  const std::string_view second = rest.substr(first.size());
  std::string text(first);
  switch (shape & 3) {
    case 0:
      return std::string(rest);
    case 1:
      text.append(HEAD, 'a');
      break;
    case 2:
      while (!first.empty() && text.size() <= HEAD) text.append(first);
      break;
    case 3:
      text.append(HEAD, '\n');
      break;
  }
  return text.append(second);
}

}  // namespace
}  // namespace morvel

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace morvel;
  if (size < 3) return 0;
  const unsigned flags = data[0], shape = data[1];
  const std::string text =
      Shaped(std::string_view(reinterpret_cast<const char*>(data + 3), size - 3), shape, data[2]);
  // Long texts are read at least 64 bytes at a time, which keeps each run short.
  std::size_t readSize = (std::size_t{1} << ((shape >> 3) & 15)) + ((shape & 0x80) ? 3 : 0);
  if (text.size() > HEAD && readSize < 64) readSize = 64;

  const bool standardInput = flags & 0x80;
  const oracle::FoundEncoding found = oracle::EncodingOf(text, standardInput ? HEAD : 0);
  const Conversion detected = Convert(text, TextEncodingChoice::Auto, flags, shape, readSize);
  const Conversion given = Convert(text, Given(found), flags, shape, readSize);
  if (detected.outcome != given.outcome) Fails("the outcomes differ");
  // A page on a stream is written as it goes: a failed one holds what was sent before the
  // failure, as much of the same page as each run had sent.
  const bool partial = (shape & 4) && detected.outcome != ConversionOutcome::Written;
  const std::size_t common = std::min(detected.page.size(), given.page.size());
  if (partial ? detected.page.compare(0, common, given.page, 0, common) != 0
              : detected.page != given.page) {
    Fails("the pages differ");
  }
  if (detected.shown != given.shown) Fails("the messages differ");
  if (detected.reads > 3 || given.reads != 1) Fails("the text was read too often");
  return 0;
}
