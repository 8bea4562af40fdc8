#include "cli/output_is_source.h"

namespace morvel::cli {

namespace {

// The file the engine will read for `source`, a wildcard resolved to its first match; nothing
// when it names none, which the engine then refuses before reading anything.
std::optional<FileIdentity> SourceIdentity(const std::string& source, FileSystem& files) {
  const auto resolved = ResolveSource(source, files);
  if (!resolved) return std::nullopt;
  return files.IdentityOf(*resolved);
}

}  // namespace

const Job* JobReadingItsOwnOutput(const Batch& batch, FileSystem& files,
                                  std::optional<FileIdentity> input,
                                  std::optional<FileIdentity> output) {
  if (!output) return nullptr;
  for (const Job& job : batch.jobs) {
    if (!job.standardOutput) continue;
    const auto source = job.standardInput ? input : SourceIdentity(job.source, files);
    if (source == output) return &job;
  }
  return nullptr;
}

}  // namespace morvel::cli
