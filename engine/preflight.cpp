#include "engine/preflight.h"

#include "engine/request_paths.h"
#include "text/path_scan.h"

namespace morvel {

namespace {

void Warn(Platform& platform, Problem problem) { platform.user.Tell({problem}); }

// True when the user answers OK, or `preset` already did.
bool Ask(Platform& platform, Question question, bool preset) {
  return preset || platform.user.Ask(question);
}

// Two spellings of one file: equal as text, or the target exists and is the input itself.
bool IsSameFile(std::string_view sourcePath, std::string_view targetPath, FileSystem& files) {
  if (SamePathText(sourcePath, targetPath)) return true;
  const auto targetIdentity = files.IdentityOf(targetPath);
  if (!targetIdentity) return false;
  const auto sourceIdentity = files.IdentityOf(sourcePath);
  return sourceIdentity && *sourceIdentity == *targetIdentity;
}

// The input's checks: it exists (its name rewritten as stored), it opens. Fills `opened`'s
// input; false when a check refused it and the user has been told.
bool CheckSource(std::string& sourcePath, OpenedFiles& opened, Platform& platform) {
  auto resolved = ResolveSource(sourcePath, platform.files);
  if (!resolved) {
    Warn(platform, Problem::SourceMissing);
    return false;
  }
  sourcePath = std::move(*resolved);

  opened.input = platform.files.OpenForReading(sourcePath);
  if (!opened.input) {
    Warn(platform, Problem::SourceUnopenable);
    return false;
  }
  return true;
}

// The page's checks: its folder exists, its extension (asked), not the input itself (only when
// there is a `sourcePath`), no reserved character in its name, replacing a file (asked). False
// when a check refused it or a question was cancelled, and the user has been told.
bool CheckTarget(const std::string* sourcePath, std::string& targetPath, PresetAnswers answers,
                 Platform& platform) {
  FileSystem& files = platform.files;
  // A target without any folder is refused like a target whose folder does not exist. The
  // user's answer does not matter: there is no folder to write the page in either way.
  if (!LastSeparator(targetPath) || !files.IsFolder(FolderPart(targetPath))) {
    platform.user.Ask(Question::TargetFolderMissing);
    return false;
  }

  if (NeedsPageExtension(targetPath)) {
    if (!Ask(platform, Question::FixExtension, answers.fixExtension)) {
      return false;
    }
    ApplyPageExtension(targetPath);
    platform.user.ShowTargetPath(targetPath);
  }

  if (sourcePath && IsSameFile(*sourcePath, targetPath, files)) {
    Warn(platform, Problem::SamePath);
    return false;
  }

  if (HasReservedNameChar(FileNamePart(targetPath))) {
    Warn(platform, Problem::ReservedCharacter);
    return false;
  }

  return !files.FindFirst(targetPath) || Ask(platform, Question::ReplacePage, answers.overwrite);
}

}  // namespace

PreflightResult RunPreflightChecks(ConversionRequest& request, Platform& platform) {
  if ((!request.input && request.sourcePath.empty()) ||
      (!request.output && request.targetPath.empty())) {
    Warn(platform, Problem::EmptyName);
    return ConversionOutcome::Refused;
  }

  OpenedFiles opened;
  if (!request.input && !CheckSource(request.sourcePath, opened, platform)) {
    return ConversionOutcome::Refused;
  }
  if (request.output) return opened;

  const std::string* sourcePath = request.input ? nullptr : &request.sourcePath;
  if (!CheckTarget(sourcePath, request.targetPath, request.answers, platform)) {
    return ConversionOutcome::Refused;
  }

  opened.output = platform.files.OpenForWriting(request.targetPath);
  if (!opened.output) {
    Warn(platform, Problem::TargetUnopenable);
    return platform.files.IsLinkLoop(request.targetPath) ? ConversionOutcome::Refused
                                                         : ConversionOutcome::Failed;
  }
  return opened;
}

}  // namespace morvel
