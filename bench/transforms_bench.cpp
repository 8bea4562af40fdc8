// Throughput of the text page writer and of whole conversions, on a generated 50 MB code page
// 932 text with the default switches and on one 10 MB line of "&", tabs and addresses. The
// baseline reads and writes the same file through the same streams (TextReader and
// PageWriter) without transforming anything; MB/s is counted on the input's bytes.
//
//   build/native/bench/morvel_bench
#include <benchmark/benchmark.h>

#include "bench/bench_input.h"
#include "engine/morvel.h"
#include "engine/page_writer.h"
#include "engine/text_body_writer.h"
#include "engine/text_reader.h"
#include "platform/native_platform.h"

namespace morvel::bench {
namespace {

const BenchInput& InputFor(const benchmark::State& state) {
  return state.range(0) == 0 ? JapaneseText() : LongLine();
}

void Label(benchmark::State& state, const BenchInput& input) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(input.bytes.size()));
  state.SetLabel(state.range(0) == 0 ? "50 MB text" : "10 MB line");
}

// Drops what it is given, so the writer's own cost is what is measured.
class DiscardingFile final : public ByteWriter {
 public:
  bool Write(std::string_view bytes) override {
    benchmark::DoNotOptimize(bytes.data());
    return true;
  }
  bool Commit() override { return true; }
};

// Answers every question with OK and shows nothing.
class SilentUser final : public UserInterface {
 public:
  bool Ask(Question) override { return true; }
  void Tell(const Report&) override {}
  void TellCompleted(std::string_view) override {}
  void ShowTargetPath(std::string_view) override {}
};

// The text page writer over the file's bytes in memory, in blocks of 128 KB as the reader
// hands them out, default switches, on the scan path this build chooses; the page goes
// through the page writer's buffer to a file that drops it.
void BM_TextBody(benchmark::State& state) {
  const BenchInput& input = InputFor(state);
  const std::string_view text = input.bytes;
  const ConversionOptions options;
  for (auto _ : state) {
    DiscardingFile file;
    PageWriter page(file);
    TextBodyWriter writer(options, page);
    for (std::size_t start = 0; start < text.size(); start += 128 * 1024) {
      writer.Write(text.substr(start, 128 * 1024));
    }
    writer.Finish();
    page.Finish();
  }
  Label(state, input);
}

// The same bytes through the same streams, unchanged.
void BM_BaselineCopy(benchmark::State& state) {
  const BenchInput& input = InputFor(state);
  auto files = MakeNativeFileSystem();
  const std::string target = OutputPath("baseline.htm", true);
  std::string_view block;
  for (auto _ : state) {
    auto source = files->OpenForReading(input.enginePath);
    auto output = files->OpenForWriting(target);
    TextReader reader(*source);
    PageWriter page(*output);
    while (reader.Read(block)) page.Write(block);
    if (!page.Finish()) state.SkipWithError("write failed");
  }
  Label(state, input);
}

// ConvertFile from the checks to the completion message, default switches.
void BM_WholeConversion(benchmark::State& state) {
  const BenchInput& input = InputFor(state);
  auto files = MakeNativeFileSystem();
  auto clock = MakeSystemClock();
  SilentUser user;
  Platform platform{*files, user, *clock};
  ConversionRequest each;
  each.sourcePath = input.enginePath;
  each.targetPath = OutputPath("page.htm", true);
  each.title = std::string(1, 'T');
  for (auto _ : state) {
    ConversionRequest request = each;
    if (ConvertFile(request, platform) != ConversionOutcome::Written) {
      state.SkipWithError("conversion failed");
    }
  }
  Label(state, input);
}

void Inputs(benchmark::internal::Benchmark* benchmark) {
  benchmark->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
}

BENCHMARK(BM_BaselineCopy)->Apply(Inputs);
BENCHMARK(BM_WholeConversion)->Apply(Inputs);
BENCHMARK(BM_TextBody)->Apply(Inputs);

}  // namespace
}  // namespace morvel::bench

BENCHMARK_MAIN();
