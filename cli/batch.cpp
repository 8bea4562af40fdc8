#include "cli/batch.h"

#include <algorithm>
#include <map>
#include <unordered_map>

#include "cli/host.h"
#include "engine/morvel.h"

namespace morvel::cli {

namespace {

std::string Summary(std::size_t written, std::size_t refused, std::size_t failed) {
  std::string line = ProgramLine(std::to_string(written) + " of " +
                                 std::to_string(written + refused + failed) + " pages written");
  if (refused) line += ", " + std::to_string(refused) + " refused or cancelled";
  if (failed) line += ", " + std::to_string(failed) + " failed";
  return line;
}

// `source` as the engine will resolve it, or as it is when it names nothing.
std::string ResolvedSource(std::string_view source, FileSystem& files) {
  return ResolveSource(source, files).value_or(std::string(source));
}

// The listed sources of a run, by folded path and by identity, so that no page replaces one of
// them whatever its spelling.
class ListedSources {
 public:
  ListedSources(const std::vector<Job>& jobs, FileSystem& files) : files_(files) {
    for (const Job& job : jobs) {
      if (job.standardInput) continue;
      byPath_[PathKey(job.source)].push_back(&job);
      if (const auto identity = files.IdentityOf(job.source)) {
        byIdentity_[{identity->volume, identity->index}].push_back(&job);
      }
    }
  }

  // The listed source other than `self`'s own (which the engine's checks guard) that `page`
  // would replace, or nothing.
  const Job* Find(std::string_view page, const Job& self) const {
    if (const Job* job = Other(byPath_, PathKey(page), self)) return job;
    const auto identity = files_.IdentityOf(page);
    if (!identity) return nullptr;
    return Other(byIdentity_, std::pair{identity->volume, identity->index}, self);
  }

 private:
  template <typename Map, typename Key>
  static const Job* Other(const Map& map, const Key& key, const Job& self) {
    const auto found = map.find(key);
    if (found == map.end()) return nullptr;
    for (const Job* job : found->second) {
      if (job != &self) return job;
    }
    return nullptr;
  }

  FileSystem& files_;
  std::unordered_map<std::string, std::vector<const Job*>> byPath_;  // by folded path
  std::map<std::pair<std::uint64_t, std::uint64_t>, std::vector<const Job*>> byIdentity_;
};

}  // namespace

std::variant<Batch, UsageError> PrepareBatch(const CommandLine& commandLine) {
  Batch batch;
  batch.options = commandLine.options;
  batch.answers = commandLine.answers;
  batch.quiet = commandLine.quiet;
  batch.textEncoding = commandLine.textEncoding;
  batch.pageEncoding = commandLine.pageEncoding;
  batch.language = commandLine.language;
  batch.languageTag = commandLine.languageTag;

  if (!IsPageTitle(commandLine.title)) return UsageError{"the --title text is not valid UTF-8"};
  batch.title = commandLine.title;

  auto enginePath = [](std::string_view path, std::string& into) -> std::optional<UsageError> {
    EnginePath converted = ToEnginePath(path);
    if (!converted.problem.empty()) return UsageError{std::string(path) + ": " + converted.problem};
    into = std::move(converted.path);
    return std::nullopt;
  };
  if (commandLine.outDir) {
    batch.outDir.emplace();
    if (auto error = enginePath(*commandLine.outDir, *batch.outDir)) return *error;
  }
  for (const std::string& source : commandLine.sources) {
    Job job{source, {}, {}};
    job.standardInput = source == STANDARD_STREAM;
    if (!job.standardInput) {
      if (auto error = enginePath(source, job.source)) return *error;
    }
    if (!commandLine.outDir) {
      job.standardOutput = commandLine.target == STANDARD_STREAM;
      if (!job.standardOutput) {
        if (auto error = enginePath(commandLine.target, job.target)) return *error;
      }
    }
    batch.jobs.push_back(std::move(job));
  }
  return batch;
}

bool UsesStandardInput(const Batch& batch) {
  return std::any_of(batch.jobs.begin(), batch.jobs.end(),
                     [](const Job& job) { return job.standardInput; });
}

bool UsesStandardOutput(const Batch& batch) {
  return std::any_of(batch.jobs.begin(), batch.jobs.end(),
                     [](const Job& job) { return job.standardOutput; });
}

std::string PagePathFor(std::string_view source, std::string_view outDir, FileSystem& files) {
  return PagePathInFolder(outDir, ResolvedSource(source, files));
}

int RunBatch(Batch& batch, FileSystem& files, Clock& clock, Console& console, RunStreams streams) {
  ConsoleUserInterface user(console, batch.quiet);
  // Standard input that carries the text cannot also carry answers.
  if (UsesStandardInput(batch)) user.SetNobodyToAsk("standard input is the text");
  Platform platform{files, user, clock};
  const bool manyFiles = batch.outDir.has_value();
  const ListedSources listedSources(batch.jobs, files);

  std::size_t written = 0, refused = 0, failed = 0;
  // Pages written by this run, so that two sources with the same name cannot have the second
  // replace the first one's page.
  std::unordered_map<std::string, std::string> pagesWritten;  // folded page path -> label
  for (Job& job : batch.jobs) {
    if (&job != &batch.jobs.front() && streams.beforeAnother) streams.beforeAnother();
    if (manyFiles) {
      user.SetLabel(job.label);
      job.target = PagePathFor(job.source, *batch.outDir, files);
      const auto earlier = pagesWritten.find(PathKey(job.target));
      if (earlier != pagesWritten.end()) {
        console.Err(user.ErrorPrefix() + "skipped: " + DisplayPath(job.target) +
                    " was written from " + earlier->second + " in this run");
        ++refused;
        continue;
      }
      if (const Job* listed = listedSources.Find(job.target, job)) {
        console.Err(user.ErrorPrefix() + "refused: its page " + DisplayPath(job.target) +
                    " would replace " + listed->label +
                    ", a SOURCE of this run, which is left as it was");
        ++refused;
        continue;
      }
    }
    if (job.standardOutput && !job.standardInput &&
        IsPicturePath(ResolvedSource(job.source, files))) {
      console.Err(user.ErrorPrefix() + job.label +
                  ": a picture's page cannot go to standard output: the picture is copied beside "
                  "the page, so give a TARGET file");
      ++refused;
      continue;
    }
    ConversionRequest request{.sourcePath = job.source,
                              .targetPath = job.target,
                              .options = batch.options,
                              .title = batch.title,
                              .answers = batch.answers,
                              .input = job.standardInput ? streams.input : nullptr,
                              .output = job.standardOutput ? streams.output : nullptr,
                              .textEncoding = batch.textEncoding,
                              .pageEncoding = batch.pageEncoding,
                              .language = batch.language,
                              .languageTag = batch.languageTag};
    const ConversionOutcome outcome = ConvertFile(request, platform);
    job.source = std::move(request.sourcePath);
    job.target = std::move(request.targetPath);
    switch (outcome) {
      case ConversionOutcome::Written:
        ++written;
        pagesWritten.emplace(PathKey(job.target), job.label);
        break;
      case ConversionOutcome::Refused:
        ++refused;
        break;
      case ConversionOutcome::Failed:
        ++failed;
        break;
    }
  }

  if (manyFiles) {
    const std::string summary = Summary(written, refused, failed);
    if (refused || failed) {
      console.Err(summary);
    } else if (!batch.quiet) {
      console.Out(summary);
    }
  }
  // A failure outweighs a refusal, which outweighs success.
  return failed ? EXIT_FAILED : refused ? EXIT_REFUSED : EXIT_WRITTEN;
}

}  // namespace morvel::cli
