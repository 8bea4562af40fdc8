// Throughput of each line transform and of whole conversions, on a generated 50 MB code page
// 932 text with the default switches and on one 10 MB line of "&", tabs and addresses. The
// baseline reads and writes the same file through the same streams (TextLineReader and
// PageWriter) without transforming anything; MB/s is counted on the input's bytes.
//
//   build/native/bench/morvel_bench
#include <benchmark/benchmark.h>

#include "bench/bench_input.h"
#include "engine/convert_file.h"
#include "engine/line_pipeline.h"
#include "engine/page_writer.h"
#include "engine/text_line_reader.h"
#include "platform/native_platform.h"
#include "text/escape.h"
#include "text/line_tags.h"
#include "text/links.h"
#include "text/page_bytes.h"

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

// Counts what would be written, so the transforms' own cost is what is measured.
class CountingSink final : public Sink {
 public:
  void Write(std::string_view bytes) override { count += bytes.size(); }
  std::size_t count = 0;
};

// Answers every question with OK and shows nothing.
class SilentUser final : public UserInterface {
 public:
  int ShowMessage(std::string_view, std::string_view, unsigned) override { return ANSWER_OK; }
  void ShowTargetPath(std::string_view) override {}
};

void BM_EscapeLine(benchmark::State& state) {
  const BenchInput& input = InputFor(state);
  std::string result;
  for (auto _ : state) {
    for (const auto line : input.lines) benchmark::DoNotOptimize(EscapeLine(line, 1, result));
  }
  Label(state, input);
}

void BM_LinkAddresses(benchmark::State& state) {
  const BenchInput& input = InputFor(state);
  std::vector<std::string> escaped;
  std::string buffer;
  for (const auto line : input.lines) escaped.emplace_back(EscapeLine(line, 1, buffer));
  std::string result;
  for (auto _ : state) {
    for (const auto& line : escaped) benchmark::DoNotOptimize(LinkAddresses(line, result));
  }
  Label(state, input);
}

// The one-pass writer over the file's bytes in memory, in runs of about 128 KB cut after a
// line end as the reader cuts them, default switches; the page bytes are dropped after each
// run, so what is measured is the transforms' own cost without the file system.
void BM_LineRuns(benchmark::State& state) {
  const BenchInput& input = InputFor(state);
  const std::string_view text = input.bytes;
  const ConversionOptions options;
  PageBytes page;
  for (auto _ : state) {
    LinePipeline pipeline(options);
    for (std::size_t start = 0; start < text.size();) {
      std::size_t end = text.rfind('\n', start + 128 * 1024);
      end = end == std::string_view::npos || end < start ? text.size() : end + 1;
      pipeline.WriteLines(text.substr(start, end - start), page);
      benchmark::DoNotOptimize(page.View().data());
      page.Clear();
      start = end;
    }
  }
  Label(state, input);
}

void BM_TagLineEnd(benchmark::State& state) {
  const BenchInput& input = InputFor(state);
  std::string line;
  for (auto _ : state) {
    for (const auto view : input.lines) {
      line.assign(view);  // the copy stands for the buffer that the earlier steps fill
      TagLineEnd(line);
      benchmark::DoNotOptimize(line.data());
    }
  }
  Label(state, input);
}

void BM_WriteParagraphLine(benchmark::State& state) {
  const BenchInput& input = InputFor(state);
  CountingSink page;
  for (auto _ : state) {
    int paragraphState = PARAGRAPH_AFTER_BREAK;
    for (const auto line : input.lines)
      paragraphState = WriteParagraphLine(line, paragraphState, page);
    benchmark::DoNotOptimize(paragraphState);
  }
  Label(state, input);
}

// The same bytes through the same streams, unchanged.
void BM_BaselineCopy(benchmark::State& state) {
  const BenchInput& input = InputFor(state);
  auto files = MakeNativeFileSystem();
  const std::string target = OutputPath("baseline.htm", true);
  std::string_view lines;
  for (auto _ : state) {
    auto source = files->OpenForReading(input.enginePath);
    auto output = files->OpenForWriting(target);
    TextLineReader reader(*source);
    PageWriter page(*output);
    while (reader.ReadLines(lines)) page.Write(lines);
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
  const ConversionOptions options;
  for (auto _ : state) {
    std::string source = input.enginePath;
    std::string target = OutputPath("page.htm", true);
    if (ConvertFile(source, target, options, "FFFFFF", "000000", "T", platform) !=
        ConversionOutcome::Written) {
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
BENCHMARK(BM_LineRuns)->Apply(Inputs);
BENCHMARK(BM_EscapeLine)->Apply(Inputs);
BENCHMARK(BM_LinkAddresses)->Apply(Inputs);
BENCHMARK(BM_TagLineEnd)->Apply(Inputs);
BENCHMARK(BM_WriteParagraphLine)->Apply(Inputs);

}  // namespace
}  // namespace morvel::bench

BENCHMARK_MAIN();
