#include <new>
#include <optional>
#include <variant>

#include "engine/morvel.h"
#include "engine/page_body.h"
#include "engine/picture_page.h"
#include "engine/preflight.h"
#include "engine/text_page.h"
#include "text/path_scan.h"

namespace morvel {

namespace {

// Copies the picture beside the page (never over an existing file) and shows it. The
// picture itself is not read.
BodyProblems WritePicturePage(const ConversionRequest& request, ByteWriter& output,
                              Platform& platform) {
  const PageEncoding encoding = request.pageEncoding == PageEncodingChoice::Utf8
                                    ? PageEncoding::Utf8
                                    : PageEncoding::CodePage932;
  PageWriter page(output);
  // A picture's page has no text to find a language in: it names one only when told to.
  const bool named = request.language == PageLanguageChoice::Named;
  WritePageHead(page, request.options, request.title, platform.clock, encoding,
                named ? std::string_view(request.languageTag) : std::string_view());
  const std::string destination = PictureDestination(request.sourcePath, request.targetPath);
  const CopyOutcome copy = platform.files.CopyIfAbsent(request.sourcePath, destination);
  WritePictureBody(page, PageText(FileNamePart(request.sourcePath), encoding),
                   request.options.imageBorder);
  BodyProblems problems{.copyFailed = copy == CopyOutcome::Failed};
  EndPage(page, problems);
  return problems;
}

// The problem to report for how the body went, the first of them in this order; nothing when
// there was none.
std::optional<Report> FirstProblem(const BodyProblems& problems) {
  if (problems.writeFailed) return Report{Problem::WriteFailed};
  if (problems.targetUnopenable) return Report{Problem::TargetUnopenable};
  if (problems.invalid.line != 0) {
    return Report{problems.invalid.utf16 ? Problem::InvalidUtf16 : Problem::InvalidUtf8,
                  problems.invalid.line};
  }
  if (problems.readFailed) return Report{Problem::ReadFailed};
  if (problems.copyFailed) return Report{Problem::CopyFailed};
  return std::nullopt;
}

ConversionOutcome CheckAndWrite(ConversionRequest& request, Platform& platform) {
  auto preflight = RunPreflightChecks(request, platform);
  if (const auto* ended = std::get_if<ConversionOutcome>(&preflight)) return *ended;
  OpenedFiles& opened = std::get<OpenedFiles>(preflight);

  const BodyProblems problems =
      !request.input && IsPicturePath(request.sourcePath)
          ? WritePicturePage(request, request.output ? *request.output : *opened.output, platform)
          : WriteTextPage(request, platform, opened);

  // Close the page, then the input, before telling the user anything: the page is complete on
  // disk, or the old one is back as it was, while the message is up.
  opened.output.reset();
  opened.input.reset();

  if (const auto problem = FirstProblem(problems)) {
    platform.user.Tell(*problem);
    return ConversionOutcome::Failed;
  }
  // A page on a stream is read where it arrives; there is no file to announce.
  if (!request.output) platform.user.TellCompleted(request.targetPath);
  return ConversionOutcome::Written;
}

}  // namespace

ConversionOutcome ConvertFile(ConversionRequest& request, Platform& platform) {
  // Running out of memory ends the request like any failure: by the time the message is
  // shown, the request's buffers are freed and its unfinished page is removed.
  try {
    return CheckAndWrite(request, platform);
  } catch (const std::bad_alloc&) {
    platform.user.Tell({Problem::OutOfMemory});
    return ConversionOutcome::Failed;
  }
}

}  // namespace morvel
