#include "engine/convert_file.h"

#include <new>
#include <variant>

#include "engine/messages.h"
#include "engine/page_parts.h"
#include "engine/page_writer.h"
#include "engine/picture_page.h"
#include "engine/preflight.h"
#include "engine/text_body_writer.h"
#include "engine/text_reader.h"
#include "engine/utf8_text_body.h"
#include "text/path_scan.h"

namespace morvel {

namespace {

// What went wrong while the page was being written, in the order it is reported.
struct BodyProblems {
  bool readFailed = false;
  bool copyFailed = false;
  std::size_t invalidUtf8Line = 0;  // a read failure too: the line UTF-8 text went wrong on
};

// Writes the whole input onto the page as it is read; UTF-8 text becomes code page 932 first.
BodyProblems WriteTextBody(ByteReader& input, PageWriter& page, const ConversionOptions& options,
                           TextEncoding encoding) {
  TextReader reader(input);
  TextBodyWriter writer(options, page);
  std::size_t invalidUtf8Line = 0;
  if (encoding == TextEncoding::Utf8) {
    invalidUtf8Line = WriteUtf8Text(reader, writer);
  } else {
    std::string_view block;
    while (reader.Read(block)) writer.Write(block);
  }
  writer.Finish();
  return {.readFailed = reader.Failed() || invalidUtf8Line != 0,
          .invalidUtf8Line = invalidUtf8Line};
}

// Copies the picture beside the page (never over an existing file) and shows it. The
// picture itself is not read.
BodyProblems WritePicturePage(std::string_view sourcePath, std::string_view targetPath, Sink& page,
                              const ConversionOptions& options, FileSystem& files) {
  const std::string destination = PictureDestination(sourcePath, targetPath);
  const CopyOutcome copy = files.CopyIfAbsent(sourcePath, destination);
  WritePictureBody(page, FileNamePart(sourcePath), options.imageBorder);
  return {.copyFailed = copy == CopyOutcome::Failed};
}

ConversionOutcome CheckAndWrite(ConversionRequest& request, Platform& platform) {
  auto preflight = RunPreflightChecks(request, platform);
  if (const auto* ended = std::get_if<ConversionOutcome>(&preflight)) return *ended;
  OpenedFiles& opened = std::get<OpenedFiles>(preflight);
  ByteReader& input = request.input ? *request.input : *opened.input;
  const ConversionOptions& options = request.options;

  PageWriter page(request.output ? *request.output : *opened.output);
  WritePageHead(page, options, request.title, platform.clock);
  const BodyProblems problems =
      !request.input && IsPicturePath(request.sourcePath)
          ? WritePicturePage(request.sourcePath, request.targetPath, page, options, platform.files)
          : WriteTextBody(input, page, options, request.encoding);
  page.Write(PAGE_FOOTER);

  // The page takes the old one's place only when all of it is there. Close the page, then the
  // input, before telling the user anything: the page is complete on disk, or the old one is
  // back as it was, while the message is up.
  const bool complete = !problems.readFailed && !problems.copyFailed;
  const bool written = complete ? page.Finish() : page.WritesSucceeded();
  opened.output.reset();
  opened.input.reset();

  std::string failure;
  if (!written)
    failure = messages::WRITE_FAILED;
  else if (problems.invalidUtf8Line)
    failure = std::string(messages::READ_FAILED) + "\n" + std::to_string(problems.invalidUtf8Line) +
              std::string(messages::INVALID_UTF8_LINE_SUFFIX);
  else if (problems.readFailed)
    failure = messages::READ_FAILED;
  else if (problems.copyFailed)
    failure = messages::COPY_FAILED;
  if (!failure.empty()) {
    platform.user.ShowMessage(failure, messages::CAPTION_APP, BOX_ICONWARNING);
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
