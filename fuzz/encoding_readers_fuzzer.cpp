// Compares every reader of a text's encoding with the slow reference (tests/oracle/
// text_encodings.h) on random bytes, handed over in blocks cut anywhere, on every scan path:
// the classifier, the UTF-8 check, the UTF-16 reader in both byte orders, the UTF-8 decoder
// onto a code page 932 page, and code page 932 onto a UTF-8 page (against its conversion of the
// whole text at once).
//   Byte 0 picks the cuts (fuzz/block_cuts.h).
//   Byte 1 is the classifier's limit, as standard input has one: 0 for none.
// The rest is the text.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/block_cuts.h"
#include "tests/oracle/text_encodings.h"
#include "tests/support/scan_paths.h"
#include "text/code_page_932.h"
#include "text/encoding_classifier.h"
#include "text/utf16_to_utf8.h"
#include "text/utf8_text_decoder.h"

namespace morvel {
namespace {

using oracle::FoundEncoding;
using oracle::ReadText;

[[noreturn]] void Fails(const char* what) {
  std::fprintf(stderr, "%s\n", what);
  std::abort();
}

FoundEncoding Found(DetectedEncoding detected) {
  switch (detected) {
    case DetectedEncoding::Utf8:
      return FoundEncoding::Utf8;
    case DetectedEncoding::Utf8WithMark:
      return FoundEncoding::Utf8WithMark;
    case DetectedEncoding::Utf16Le:
      return FoundEncoding::Utf16Le;
    case DetectedEncoding::Utf16Be:
      return FoundEncoding::Utf16Be;
    case DetectedEncoding::CodePage932:
    case DetectedEncoding::Undecided:
      break;
  }
  return FoundEncoding::CodePage932;
}

// The classifier's choice, which it keeps from the block it is made at to the end.
FoundEncoding Classified(std::string_view bytes, const std::vector<std::size_t>& cuts,
                         std::size_t limit, ScanPath path) {
  EncodingClassifier classifier(limit, path);
  DetectedEncoding early = DetectedEncoding::Undecided;
  fuzzing::InBlocks(bytes, cuts, [&](std::string_view block) {
    const DetectedEncoding now = classifier.Write(block);
    if (early != DetectedEncoding::Undecided && now != early) Fails("the classifier changed");
    early = now;
  });
  const DetectedEncoding detected = classifier.Finish();
  if (early != DetectedEncoding::Undecided && detected != early) Fails("the classifier changed");
  return Found(detected);
}

// The line of the first bad sequence, or 0.
std::size_t CheckedLine(std::string_view text, const std::vector<std::size_t>& cuts,
                        ScanPath path) {
  Utf8Validator validator(path);
  bool valid = true;
  fuzzing::InBlocks(text, cuts,
                    [&](std::string_view block) { valid = valid && validator.Write(block); });
  valid = validator.Finish() && valid;
  return valid ? 0 : validator.InvalidLine();
}

ReadText FromUtf16(std::string_view text, const std::vector<std::size_t>& cuts, bool bigEndian) {
  Utf16ToUtf8 reader(bigEndian);
  ReadText read;
  fuzzing::InBlocks(text, cuts, [&](std::string_view block) { reader.Write(block, read.text); });
  if (!reader.Finish()) read.badLine = reader.InvalidLine();
  return read;
}

// Text and references as the decoder hands them on; a reference shows as "{&#N;}".
class RecordingSink final : public Sink {
 public:
  void Write(std::string_view block) override { record.append(block); }
  void WriteReference(std::string_view reference) override {
    record.append("{").append(reference).append("}");
  }
  std::string record;
};

ReadText ToCodePage932(std::string_view text, const std::vector<std::size_t>& cuts) {
  RecordingSink sink;
  Utf8TextDecoder decoder(sink);
  bool valid = true;
  fuzzing::InBlocks(text, cuts,
                    [&](std::string_view block) { valid = decoder.Write(block) && valid; });
  valid = decoder.Finish() && valid;
  return {sink.record, valid ? 0 : decoder.InvalidLine()};
}

std::string FromCodePage932(std::string_view text, const std::vector<std::size_t>& cuts) {
  Cp932ToUtf8Stream stream;
  std::string utf8;
  fuzzing::InBlocks(text, cuts, [&](std::string_view block) { stream.Write(block, utf8); });
  stream.Finish(utf8);
  return utf8;
}

}  // namespace
}  // namespace morvel

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace morvel;
  if (size < 2) return 0;
  const std::size_t limit = data[1];
  const std::string_view bytes(reinterpret_cast<const char*>(data + 2), size - 2);
  const std::vector<std::size_t> cuts = fuzzing::BlockCuts(data[0], bytes.size());
  // The text the UTF-8 readers are handed: the bytes before the end of text.
  std::string_view text = bytes;
  CutAtEndOfText(text);
  std::vector<std::size_t> textCuts;
  for (const std::size_t cut : cuts) {
    if (cut < text.size()) textCuts.push_back(cut);
  }

  const FoundEncoding found = oracle::EncodingOf(bytes, limit);
  const std::size_t badLine = oracle::CheckedUtf8(text).badLine;
  for (const ScanPath path : testing::Utf8ScanPaths()) {
    if (Classified(bytes, cuts, limit, path) != found) Fails("the encoding differs");
    if (CheckedLine(text, textCuts, path) != badLine) Fails("the UTF-8 check differs");
  }
  for (const bool bigEndian : {false, true}) {
    if (FromUtf16(bytes, cuts, bigEndian) != oracle::Utf16AsUtf8(bytes, bigEndian)) {
      Fails("the UTF-16 reader differs");
    }
  }
  if (ToCodePage932(text, textCuts) != oracle::Utf8AsCodePage932(text)) {
    Fails("the UTF-8 decoder differs");
  }
  if (FromCodePage932(text, textCuts) != *Cp932ToUtf8(text, Unmapped::ReplacementCharacter)) {
    Fails("code page 932 onto a UTF-8 page differs");
  }
  return 0;
}
