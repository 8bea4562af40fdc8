// The page's create command: what the page's script calls, with the settings of its controls,
// to run one conversion through the engine, and to collect what it wrote and said. The script
// passes texts as UTF-8 and reads back UTF-8 texts and bytes; all state lives here between a
// conversion and MorvelRelease().
#include <cstddef>
#include <cstdint>
#include <new>
#include <string>
#include <vector>

#include "engine/morvel.h"
#include "platform/native_platform.h"
#include "platform/web_platform.h"
#include "web/page_user_interface.h"

namespace morvel::web {

namespace {

struct Session {
  WebFileSystem files;
  PageUserInterface user{WEB_TARGET_FOLDER};
  // The files written by the last conversion that wrote its page, the page first, and their
  // names in UTF-8.
  std::vector<const WrittenFile*> downloads;
  std::vector<std::string> downloadNames;
};

Session& TheSession() {
  static Session session;
  return session;
}

void TellOutOfMemory(Session& session) { session.user.Tell({Problem::OutOfMemory}); }

// The file name as the engine spells it, or nothing (the user told) when code page 932 cannot.
std::optional<std::string> EngineName(Session& session, const char* name) {
  auto engineName = EngineTextFromUtf8(name);
  if (!engineName) session.user.Tell({Problem::UnrepresentableName});
  return engineName;
}

void CollectDownloads(Session& session, std::string_view pageName) {
  for (const WrittenFile& file : session.files.Written()) {
    const bool isPage = PathKey(file.name) == PathKey(pageName);
    session.downloads.insert(isPage ? session.downloads.begin() : session.downloads.end(), &file);
  }
  for (const WrittenFile* file : session.downloads) {
    session.downloadNames.push_back(Utf8FromEngineText(file->name));
  }
}

}  // namespace

extern "C" {

// Lets go of the held file, what was written and what was said.
void MorvelRelease() {
  Session& session = TheSession();
  session.files.Clear();
  session.user.Clear();
  session.downloads.clear();
  session.downloadNames.clear();
}

// Holds the chosen file, `name` (UTF-8) of `size` bytes, and returns where the script puts its
// bytes; nothing when code page 932 cannot spell the name or memory ran out, and a message then
// says so. (`size` comes as a script's number, which may exceed what the module can address.)
char* MorvelHoldSource(const char* name, double size) {
  MorvelRelease();
  Session& session = TheSession();
  auto engineName = EngineName(session, name);
  if (!engineName) return nullptr;
  try {
    if (size > static_cast<double>(std::string().max_size())) throw std::bad_alloc();
    return session.files.HoldSource(std::move(*engineName), static_cast<std::size_t>(size));
  } catch (const std::bad_alloc&) {
    session.files.Clear();
    TellOutOfMemory(session);
    return nullptr;
  }
}

// Holds the chosen file `name` (UTF-8) that the browser could not read: the engine finds it and
// cannot open it. False when code page 932 cannot spell the name, and a message then says so.
bool MorvelHoldUnreadableSource(const char* name) {
  MorvelRelease();
  Session& session = TheSession();
  auto engineName = EngineName(session, name);
  if (engineName) session.files.HoldUnreadableSource(std::move(*engineName));
  return engineName.has_value();
}

// Converts the held file (none held: the engine asks for a file name) into a page named after
// it, with the controls' settings; `title` is UTF-8. True when the page was written; its
// downloads are then waiting, and in every case the messages.
bool MorvelConvert(const char* title, bool stampEnabled, bool stampKanji, bool lineTagsEnabled,
                   bool tagsBr, bool autoLinkEnabled, bool escapeSpecials, std::uint32_t border,
                   std::uint32_t bgColour, std::uint32_t textColour) {
  Session& session = TheSession();
  session.user.Clear();
  session.downloads.clear();
  session.downloadNames.clear();
  try {
    ConversionRequest request;
    request.sourcePath = session.files.SourcePath();
    if (!request.sourcePath.empty()) {
      request.targetPath = PagePathInFolder(WEB_TARGET_FOLDER, request.sourcePath);
    }
    ConversionOptions& options = request.options;
    options.stampEnabled = stampEnabled;
    options.stampStyle = stampKanji ? StampStyle::Kanji : StampStyle::Numeric;
    options.lineTagsEnabled = lineTagsEnabled;
    options.lineTagMode = tagsBr ? LineTagMode::BreaksOnly : LineTagMode::BreaksAndParagraphs;
    options.autoLinkEnabled = autoLinkEnabled;
    options.escapeSpecials = escapeSpecials;
    options.imageBorder = border;
    options.bgColour = Colour{bgColour};
    options.textColour = Colour{textColour};
    request.title = title;

    auto clock = MakeSystemClock();
    Platform platform{session.files, session.user, *clock};
    if (ConvertFile(request, platform) != ConversionOutcome::Written) return false;
    CollectDownloads(session, request.targetPath.substr(WEB_TARGET_FOLDER.size() + 1));
    return true;
  } catch (const std::bad_alloc&) {
    session.downloads.clear();
    session.downloadNames.clear();
    TellOutOfMemory(session);
    return false;
  }
}

std::size_t MorvelMessageCount() { return TheSession().user.Messages().size(); }
const char* MorvelMessageText(std::size_t i) {
  return TheSession().user.Messages()[i].text.c_str();
}
const char* MorvelMessageCaption(std::size_t i) {
  return TheSession().user.Messages()[i].caption.c_str();
}
bool MorvelMessageWarns(std::size_t i) { return TheSession().user.Messages()[i].warning; }

std::size_t MorvelDownloadCount() { return TheSession().downloads.size(); }
const char* MorvelDownloadName(std::size_t i) { return TheSession().downloadNames[i].c_str(); }
const char* MorvelDownloadBytes(std::size_t i) { return TheSession().downloads[i]->bytes.data(); }
std::size_t MorvelDownloadSize(std::size_t i) { return TheSession().downloads[i]->bytes.size(); }

}  // extern "C"

}  // namespace morvel::web
