#include "cli/batch.h"

#include <unordered_map>

#include "cli/host.h"
#include "engine/convert_file.h"
#include "text/character_references.h"
#include "text/path_scan.h"

namespace morvel::cli {

namespace {

std::string Summary(std::size_t written, std::size_t refused, std::size_t failed) {
  std::string line = std::string(PROGRAM_NAME) + ": " + std::to_string(written) + " of " +
                     std::to_string(written + refused + failed) + " pages written";
  if (refused) line += ", " + std::to_string(refused) + " refused or cancelled";
  if (failed) line += ", " + std::to_string(failed) + " failed";
  return line;
}

}  // namespace

std::variant<Batch, UsageError> PrepareBatch(const CommandLine& commandLine) {
  Batch batch;
  batch.options = commandLine.options;
  batch.bgColour = commandLine.bgColour;
  batch.textColour = commandLine.textColour;
  batch.answers = {commandLine.answerExtensionOk, commandLine.answerOverwriteOk};
  batch.quiet = commandLine.quiet;

  // A character code page 932 lacks reaches the page as a numeric character reference.
  const auto title = EncodeWithCharacterReferences(commandLine.title, ToEngineText);
  if (!title) return UsageError{"the --title text is not valid UTF-8"};
  batch.title = *title;

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
    if (auto error = enginePath(source, job.source)) return *error;
    if (!commandLine.outDir) {
      if (auto error = enginePath(commandLine.target, job.target)) return *error;
    }
    batch.jobs.push_back(std::move(job));
  }
  return batch;
}

std::string PagePathFor(std::string_view source, std::string_view outDir, FileSystem& files) {
  std::string name(FileNamePart(source));
  if (HasWildcard(name)) {
    if (auto stored = files.FindFirst(source)) name = std::move(*stored);
  }
  if (const auto dot = ExtensionDot(name)) name.resize(*dot);
  std::string page(outDir);
  const auto separator = LastSeparator(page);
  if (!separator || *separator + 1 != page.size()) page += '\\';
  return page + name + ".htm";
}

int RunBatch(Batch& batch, FileSystem& files, Clock& clock, Console& console) {
  ConsoleUserInterface user(console, batch.answers, batch.quiet);
  Platform platform{files, user, clock};
  const bool manyFiles = batch.outDir.has_value();

  std::size_t written = 0, refused = 0, failed = 0;
  // Pages written by this run, so that two sources with the same name cannot have the second
  // replace the first one's page.
  std::unordered_map<std::string, std::string> pagesWritten;  // folded page path -> label
  for (Job& job : batch.jobs) {
    if (manyFiles) {
      user.SetLabel(job.label);
      job.target = PagePathFor(job.source, *batch.outDir, files);
      const auto earlier = pagesWritten.find(FoldedPathText(job.target));
      if (earlier != pagesWritten.end()) {
        console.Err(user.ErrorPrefix() + "skipped: " + DisplayPath(job.target) +
                    " was written from " + earlier->second + " in this run");
        ++refused;
        continue;
      }
    }
    const ConversionOutcome outcome =
        ConvertFile(job.source, job.target, batch.options, batch.bgColour, batch.textColour,
                    batch.title, platform);
    switch (outcome) {
      case ConversionOutcome::Written:
        ++written;
        pagesWritten.emplace(FoldedPathText(job.target), job.label);
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
