#include "engine/preflight.h"

#include "engine/messages.h"
#include "text/path_scan.h"
#include "text/primitives.h"

namespace morvel {

namespace {

constexpr std::string_view PAGE_EXTENSION = "HTM";

void Warn(Platform& platform, std::string_view text, std::string_view caption) {
  platform.user.ShowMessage(text, caption, BOX_ICONWARNING);
}

bool Ask(Platform& platform, std::string_view text, std::string_view caption) {
  return platform.user.ShowMessage(text, caption, BOX_ICONWARNING | BOX_OKCANCEL) == ANSWER_OK;
}

// The source path with its file-name part replaced by the name the file system stores.
// Nothing when the path has no folder part or names nothing.
std::optional<std::string> ResolveSource(std::string_view sourcePath, FileSystem& files) {
  const auto separator = LastSeparator(sourcePath);
  if (!separator) return std::nullopt;
  const auto storedName = files.FindFirst(sourcePath);
  if (!storedName) return std::nullopt;
  std::string resolved(sourcePath.substr(0, *separator + 1));
  resolved.append(*storedName);
  return resolved;
}

// True when the target needs the ".htm" fix: its extension does not begin with "htm" in
// any case, or it has no extension.
bool NeedsPageExtension(std::string_view targetPath) {
  const auto dot = ExtensionDot(targetPath);
  return !dot || !StartsWithNoCase(targetPath.substr(*dot + 1), PAGE_EXTENSION);
}

void ApplyPageExtension(std::string& targetPath) {
  if (const auto dot = ExtensionDot(targetPath)) targetPath.resize(*dot);
  targetPath.append(".htm");
}

// Two spellings of one file: equal as text, or the target exists and is the input itself.
bool IsSameFile(std::string_view sourcePath, std::string_view targetPath, FileSystem& files) {
  if (SamePathText(sourcePath, targetPath)) return true;
  const auto targetIdentity = files.IdentityOf(targetPath);
  if (!targetIdentity) return false;
  const auto sourceIdentity = files.IdentityOf(sourcePath);
  return sourceIdentity && *sourceIdentity == *targetIdentity;
}

// The input's checks: it exists (its name rewritten as stored), it opens. Fills `request`'s
// input and extension; false when a check refused it and the user has been told.
bool CheckSource(std::string& sourcePath, OpenedRequest& request, Platform& platform) {
  namespace msg = messages;
  auto resolved = ResolveSource(sourcePath, platform.files);
  if (!resolved) {
    Warn(platform, msg::SOURCE_MISSING, msg::CAPTION_SOURCE_PATH);
    return false;
  }
  sourcePath = std::move(*resolved);

  request.input = platform.files.OpenForReading(sourcePath);
  if (!request.input) {
    Warn(platform, msg::SOURCE_UNOPENABLE, msg::CAPTION_OPEN_ERROR);
    return false;
  }
  request.sourceExtensionDot = ExtensionDot(sourcePath);
  return true;
}

// The page's checks: its folder exists, its extension (asked), not the input itself (only when
// there is a `sourcePath`), no reserved character in its name, replacing a file (asked). False
// when a check refused it or a question was cancelled, and the user has been told.
bool CheckTarget(const std::string* sourcePath, std::string& targetPath, Platform& platform) {
  namespace msg = messages;
  FileSystem& files = platform.files;
  // A target without any folder is refused like a target whose folder does not exist.
  if (!LastSeparator(targetPath) || !files.IsFolder(FolderPart(targetPath))) {
    Ask(platform, msg::TARGET_FOLDER_MISSING, msg::CAPTION_OPEN_ERROR);
    return false;
  }

  if (NeedsPageExtension(targetPath)) {
    if (!Ask(platform, msg::ASK_FIX_EXTENSION, msg::CAPTION_EXTENSION)) return false;
    ApplyPageExtension(targetPath);
    platform.user.ShowTargetPath(targetPath);
  }

  if (sourcePath && IsSameFile(*sourcePath, targetPath, files)) {
    Warn(platform, msg::SAME_PATH, msg::CAPTION_SAME_PATH);
    return false;
  }

  if (HasReservedNameChar(FileNamePart(targetPath))) {
    Warn(platform, msg::RESERVED_CHARS, msg::CAPTION_NAME);
    return false;
  }

  return !files.FindFirst(targetPath) || Ask(platform, msg::ASK_OVERWRITE, msg::CAPTION_OVERWRITE);
}

}  // namespace

PreflightResult RunPreflightChecks(std::string& sourcePath, std::string& targetPath,
                                   RequestExtras extras, Platform& platform) {
  namespace msg = messages;
  const auto refused = [] { return PreflightResult{std::nullopt, ConversionOutcome::Refused}; };

  if ((!extras.input && sourcePath.empty()) || (!extras.output && targetPath.empty())) {
    Warn(platform, msg::EMPTY_NAME, msg::CAPTION_APP);
    return refused();
  }

  OpenedRequest request;
  if (!extras.input && !CheckSource(sourcePath, request, platform)) return refused();
  if (extras.output) return PreflightResult{std::move(request), ConversionOutcome::Written};

  if (!CheckTarget(extras.input ? nullptr : &sourcePath, targetPath, platform)) return refused();

  request.output = platform.files.OpenForWriting(targetPath);
  if (!request.output) {
    Warn(platform, msg::TARGET_UNOPENABLE, msg::CAPTION_OPEN_ERROR);
    const bool loop = platform.files.IsLinkLoop(targetPath);
    return PreflightResult{std::nullopt,
                           loop ? ConversionOutcome::Refused : ConversionOutcome::Failed};
  }
  return PreflightResult{std::move(request), ConversionOutcome::Written};
}

}  // namespace morvel
