#include "engine/convert_file.h"

#include "engine/line_pipeline.h"
#include "engine/messages.h"
#include "engine/page_parts.h"
#include "engine/page_writer.h"
#include "engine/preflight.h"
#include "engine/text_line_reader.h"

namespace morvel {

namespace {

// Reads the whole input through the line transforms onto the page. False on a read error.
bool WriteTextBody(ByteReader& input, Sink& page, const ConversionOptions& options) {
  TextLineReader reader(input);
  LinePipeline pipeline(options);
  std::string line;
  while (reader.ReadLine(line)) pipeline.WriteLine(line, page);
  return !reader.Failed();
}

// The completion message; the page is complete on disk when it appears.
void ReportCompleted(Platform& platform, std::string_view targetPath) {
  std::string text(targetPath);
  text.append(messages::COMPLETED_SUFFIX);
  platform.user.ShowMessage(text, messages::CAPTION_COMPLETED, BOX_OK);
}

}  // namespace

ConversionOutcome ConvertFile(std::string& sourcePath, std::string& targetPath,
                              const ConversionOptions& options, std::string_view bgColour,
                              std::string_view textColour, std::string_view title,
                              Platform& platform) {
  auto preflight = RunPreflightChecks(sourcePath, targetPath, platform);
  if (!preflight.opened) return preflight.outcome;
  OpenedRequest& request = *preflight.opened;

  PageWriter page(*request.output);
  WritePageHead(page, options, bgColour, textColour, title, platform.clock);
  const bool readOk = WriteTextBody(*request.input, page, options);
  page.Write(PAGE_FOOTER);

  // Close the page, then the input, before telling the user anything.
  const bool writeOk = page.Finish();
  request.output.reset();
  request.input.reset();

  if (!writeOk || !readOk) {
    platform.user.ShowMessage(writeOk ? messages::READ_FAILED : messages::WRITE_FAILED,
                              messages::CAPTION_APP, BOX_ICONWARNING);
    return ConversionOutcome::Failed;
  }
  ReportCompleted(platform, targetPath);
  return ConversionOutcome::Written;
}

}  // namespace morvel
