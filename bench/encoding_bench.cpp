// Throughput of finding a text's encoding, of checking UTF-8 text and of turning UTF-16 into
// UTF-8, on the benchmark's 50 MB of Japanese prose (re-encoded with iconv) and on 50 MB of
// ASCII prose with a non-ASCII character every 1000 bytes; in blocks of 128 KB as the reader
// hands them out. MB/s is counted on the input's bytes.
//
//   build/native/bench/morvel_encoding_bench
#include <benchmark/benchmark.h>
#include <iconv.h>

#include <string>

#include "bench/bench_input.h"
#include "text/encoding_classifier.h"
#include "text/utf16_to_utf8.h"

namespace morvel::bench {
namespace {

constexpr std::size_t BLOCK = 128 * 1024;

// `text` in another encoding; a character `from` lacks (the generated text has a few unassigned
// code page 932 pairs) is left out with the byte after it.
std::string Reencode(std::string_view text, const char* from, const char* to) {
  iconv_t converter = iconv_open(to, from);
  std::string result(text.size() * 4, '\0');
  char* in = const_cast<char*>(text.data());
  std::size_t inLeft = text.size();
  char* out = result.data();
  std::size_t outLeft = result.size();
  while (iconv(converter, &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1) &&
         inLeft >= 2) {
    in += 2;
    inLeft -= 2;
  }
  iconv_close(converter);
  result.resize(result.size() - outLeft);
  return result;
}

const std::string& Utf8Prose() {
  static const std::string text = Reencode(JapaneseText().bytes, "CP932", "UTF-8");
  return text;
}

const std::string& AsciiProse() {
  static const std::string text = [] {
    const std::string sentence =
        "The quick brown fox jumps over the lazy dog, & sees <http://example.com/>.\r\n";
    std::string result;
    while (result.size() < 50'000'000) {
      for (int i = 0; i < 13; ++i) result += sentence;
      result += "caf\xC3\xA9 ";
    }
    return result;
  }();
  return text;
}

const std::string& Utf16Prose(bool bigEndian) {
  static const std::string little = Reencode(Utf8Prose(), "UTF-8", "UTF-16LE");
  static const std::string big = Reencode(Utf8Prose(), "UTF-8", "UTF-16BE");
  return bigEndian ? big : little;
}

const std::string& Input(const benchmark::State& state) {
  switch (state.range(0)) {
    case 0:
      return Utf8Prose();
    case 1:
      return AsciiProse();
    default:
      return JapaneseText().bytes;
  }
}

void Label(benchmark::State& state, std::size_t size, const char* label) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(size));
  state.SetLabel(label);
}

const char* const LABELS[] = {"UTF-8 prose", "ASCII prose", "code page 932 prose"};

void BM_Classify(benchmark::State& state) {
  const std::string_view text = Input(state);
  for (auto _ : state) {
    EncodingClassifier classifier;
    for (std::size_t start = 0; start < text.size(); start += BLOCK) {
      if (classifier.Write(text.substr(start, BLOCK)) != DetectedEncoding::Undecided) break;
    }
    benchmark::DoNotOptimize(classifier.Finish());
  }
  Label(state, text.size(), LABELS[state.range(0)]);
}

void BM_ValidateUtf8(benchmark::State& state) {
  const std::string_view text = Input(state);
  for (auto _ : state) {
    Utf8Validator validator;
    for (std::size_t start = 0; start < text.size(); start += BLOCK) {
      benchmark::DoNotOptimize(validator.Write(text.substr(start, BLOCK)));
    }
    if (!validator.Finish()) state.SkipWithError("invalid");
  }
  Label(state, text.size(), LABELS[state.range(0)]);
}

void BM_Utf16ToUtf8(benchmark::State& state) {
  const bool bigEndian = state.range(0) == 1;
  const std::string_view text = Utf16Prose(bigEndian);
  std::string utf8;
  for (auto _ : state) {
    Utf16ToUtf8 transcoder(bigEndian);
    for (std::size_t start = 0; start < text.size(); start += BLOCK) {
      utf8.clear();
      transcoder.Write(text.substr(start, BLOCK), utf8);
      benchmark::DoNotOptimize(utf8.data());
    }
    if (!transcoder.Finish()) state.SkipWithError("invalid");
  }
  Label(state, text.size(), bigEndian ? "UTF-16BE prose" : "UTF-16LE prose");
}

BENCHMARK(BM_Classify)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ValidateUtf8)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Utf16ToUtf8)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace morvel::bench

BENCHMARK_MAIN();
