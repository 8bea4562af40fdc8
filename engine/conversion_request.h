// One conversion request: what to convert, where, with which settings, and how it ended.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "engine/conversion_options.h"
#include "engine/outside_world.h"

namespace morvel {

// How a request ended. The window ignores it (the user has been told of every outcome); the
// command-line converter turns it into its exit status.
enum class ConversionOutcome {
  Written,  // the page is complete on disk and the completion was reported
  Refused,  // a check failed, or a question was answered with Cancel; nothing was written
  Failed,   // the page could not be opened, read, written or its picture copied
};

// The bytes of standard input that decide its text's encoding: it cannot be read twice, so
// what follows them cannot change the choice.
extern const std::size_t STANDARD_INPUT_SHARE;

// The encoding a text input is read in. Auto finds it from the text: a mark (EF BB BF, FF FE,
// FE FF) names it; otherwise text that is valid UTF-8 with a byte of 0x80 or above is UTF-8,
// and any other text code page 932. A file is read whole for that (standard input, its first
// STANDARD_INPUT_SHARE bytes). A UTF encoding given here drops its own mark.
enum class TextEncodingChoice { Auto, CodePage932, Utf8, Utf16Le, Utf16Be };

// The encoding of the page. Auto follows the text: code page 932 text gives a code page 932
// page, UTF-8 and UTF-16 text a UTF-8 page; a picture's page is code page 932.
enum class PageEncodingChoice { Auto, CodePage932, Utf8 };

// The language the page names on its <HTML> element. Auto: lang="ja" on a UTF-8 page whose text
// holds a kana character in its first STANDARD_INPUT_SHARE bytes (a code page 932 page says it
// through its encoding, and ideographs alone may be Chinese or Korean), nothing otherwise.
// Named: `languageTag` on any page. None: never.
enum class PageLanguageChoice { Auto, Named, None };

// A language tag a page can name: letters, digits and hyphens, 1 to 35 of them.
bool IsLanguageTag(std::string_view tag);

// Answers given before the request starts: a question answered OK here is not asked.
struct PresetAnswers {
  bool fixExtension = false;  // give the target ".htm"
  bool overwrite = false;     // replace an existing target
};

// One conversion. Paths are in the engine's vocabulary ("\\" between folders, code page 932);
// the title is UTF-8 text, written with nothing escaped in the page's encoding.
struct ConversionRequest {
  // Rewritten by ConvertFile: `sourcePath` to the name the file system stores (a wildcard
  // resolves to its first match), `targetPath` with ".htm" when the user accepts that fix.
  std::string sourcePath;
  std::string targetPath;
  ConversionOptions options;
  std::string title;
  PresetAnswers answers;
  // Streams the caller has opened itself (standard input and output), each in place of one
  // path. No check applies to a stream; a text read from one is never a picture, and a page
  // written to one is written as it goes, with no completion reported.
  ByteReader* input = nullptr;   // read instead of the file at sourcePath
  ByteWriter* output = nullptr;  // written instead of the file at targetPath
  TextEncodingChoice textEncoding = TextEncodingChoice::Auto;
  PageEncodingChoice pageEncoding = PageEncodingChoice::Auto;
  PageLanguageChoice language = PageLanguageChoice::Auto;
  std::string languageTag;  // with PageLanguageChoice::Named, an IsLanguageTag()
};

// True when `title` is text a page can take as its title (valid UTF-8).
bool IsPageTitle(std::string_view title);

}  // namespace morvel
