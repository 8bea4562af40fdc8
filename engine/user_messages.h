// What the engine asks the user and tells them, as values: a question, a problem that ended the
// request, or the completion. Each front end shows them its own way (a message box, a line on a
// terminal, a dialog in a page), in the words WindowMessage gives, which are the window's.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>

namespace morvel {

// The questions a request asks about its page.
enum class Question {
  FixExtension,         // its extension does not begin with "htm": write it with ".htm" instead?
  ReplacePage,          // it exists: replace it?
  TargetFolderMissing,  // its folder does not exist; OK and Cancel both end the request
};

// True when OK to `question` lets the request go on; false when the question ends the request
// whatever the answer.
constexpr bool OkGoesOn(Question question) { return question != Question::TargetFolderMissing; }

// The problems that end a request.
enum class Problem {
  EmptyName,            // the source's or the target's path is empty
  SourceMissing,        // the source names nothing
  SourceUnopenable,     // the source cannot be opened (a folder, no access)
  SamePath,             // the page would be the source itself
  ReservedCharacter,    // the page's name holds one of / : , ; * ? " < > |
  UnrepresentableName,  // a path holds a character code page 932 has no form for
  TargetUnopenable,     // the page cannot be written at its place
  WriteFailed,          // writing the page failed; what was there before is kept
  ReadFailed,           // reading the text failed
  InvalidUtf8,          // the text holds a byte sequence UTF-8 does not allow, on `line`
  InvalidUtf16,         // the text holds an unpaired surrogate or an odd last byte, on `line`
  CopyFailed,           // the picture could not be copied beside the page
  OutOfMemory,          // memory ran out while the page was made
};

// A problem and the line of the text it concerns (from 1; 0 for the problems of no line).
struct Report {
  Problem problem;
  std::size_t line = 0;
};

// The page is complete at `pagePath` (engine text, spelt as the front end shows paths).
struct Completion {
  std::string_view pagePath;
};

// Anything the engine asks or tells the user.
using Utterance = std::variant<Question, Report, Completion>;

enum class MessageKind { Warning, Information };
enum class MessageButtons { Ok, OkCancel };

// One utterance in the window's words.
struct Message {
  std::string text;          // engine text (code page 932), "\n" between its lines
  std::string_view caption;  // engine text
  MessageKind kind;          // questions and problems warn; the completion informs
  MessageButtons buttons;    // OK and Cancel for a question, OK alone otherwise
};

// The window's message for `said`: its text and caption exactly as the window shows them.
Message WindowMessage(const Utterance& said);

}  // namespace morvel
