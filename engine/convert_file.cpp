#include <new>
#include <variant>

#include "engine/messages.h"
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
  WritePageHead(page, request.options, request.title, platform.clock, encoding);
  const std::string destination = PictureDestination(request.sourcePath, request.targetPath);
  const CopyOutcome copy = platform.files.CopyIfAbsent(request.sourcePath, destination);
  WritePictureBody(page, PageText(FileNamePart(request.sourcePath), encoding),
                   request.options.imageBorder);
  BodyProblems problems{.copyFailed = copy == CopyOutcome::Failed};
  EndPage(page, problems);
  return problems;
}

std::string InvalidTextMessage(const InvalidText& invalid) {
  return std::string(messages::READ_FAILED) + "\n" + std::to_string(invalid.line) +
         std::string(invalid.utf16 ? messages::INVALID_UTF16_LINE_SUFFIX
                                   : messages::INVALID_UTF8_LINE_SUFFIX);
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

  std::string failure;
  std::string_view caption = messages::CAPTION_APP;
  if (problems.writeFailed) {
    failure = messages::WRITE_FAILED;
  } else if (problems.targetUnopenable) {
    failure = messages::TARGET_UNOPENABLE;
    caption = messages::CAPTION_OPEN_ERROR;
  } else if (problems.invalid.line != 0) {
    failure = InvalidTextMessage(problems.invalid);
  } else if (problems.readFailed) {
    failure = messages::READ_FAILED;
  } else if (problems.copyFailed) {
    failure = messages::COPY_FAILED;
  }
  if (!failure.empty()) {
    platform.user.ShowMessage(failure, caption, BOX_ICONWARNING);
    return ConversionOutcome::Failed;
  }
  // A page on a stream is read where it arrives; there is no file to announce.
  if (request.output) return ConversionOutcome::Written;

  std::string completed(request.targetPath);
  completed.append(messages::COMPLETED_SUFFIX);
  platform.user.ShowMessage(completed, messages::CAPTION_COMPLETED, BOX_OK);
  return ConversionOutcome::Written;
}

}  // namespace

ConversionOutcome ConvertFile(ConversionRequest& request, Platform& platform) {
  // Running out of memory ends the request like any failure: by the time the message is
  // shown, the request's buffers are freed and its unfinished page is removed.
  try {
    return CheckAndWrite(request, platform);
  } catch (const std::bad_alloc&) {
    platform.user.ShowMessage(messages::OUT_OF_MEMORY, messages::CAPTION_APP, BOX_ICONWARNING);
    return ConversionOutcome::Failed;
  }
}

}  // namespace morvel
