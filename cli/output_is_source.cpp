#include "cli/output_is_source.h"

#include "text/path_scan.h"

namespace morvel::cli {

namespace {

// The file `source` names, a wildcard resolved to its first match.
std::optional<FileIdentity> SourceIdentity(const std::string& source, FileSystem& files) {
  if (!HasWildcard(FileNamePart(source))) return files.IdentityOf(source);
  const auto stored = files.FindFirst(source);
  if (!stored) return std::nullopt;
  return files.IdentityOf(std::string(FolderPart(source)) + "\\" + *stored);
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
