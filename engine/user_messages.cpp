#include "engine/user_messages.h"

#include "engine/messages.h"

namespace morvel {

namespace {

namespace msg = messages;

Message Warning(std::string text, std::string_view caption) {
  return {std::move(text), caption, MessageKind::Warning, MessageButtons::Ok};
}

Message MessageOf(Question question) {
  Message message = [&] {
    switch (question) {
      case Question::FixExtension:
        return Warning(std::string(msg::ASK_FIX_EXTENSION), msg::CAPTION_EXTENSION);
      case Question::ReplacePage:
        return Warning(std::string(msg::ASK_OVERWRITE), msg::CAPTION_OVERWRITE);
      case Question::TargetFolderMissing:
        break;
    }
    return Warning(std::string(msg::TARGET_FOLDER_MISSING), msg::CAPTION_OPEN_ERROR);
  }();
  message.buttons = MessageButtons::OkCancel;
  return message;
}

// A text that is not valid in its encoding: the read failure, and on a line of its own the
// number of the line that holds the fault.
Message InvalidText(std::size_t line, std::string_view lineSuffix) {
  std::string text(msg::READ_FAILED);
  text.append("\n").append(std::to_string(line)).append(lineSuffix);
  return Warning(std::move(text), msg::CAPTION_APP);
}

Message MessageOf(const Report& report) {
  switch (report.problem) {
    case Problem::EmptyName:
      return Warning(std::string(msg::EMPTY_NAME), msg::CAPTION_APP);
    case Problem::SourceMissing:
      return Warning(std::string(msg::SOURCE_MISSING), msg::CAPTION_SOURCE_PATH);
    case Problem::SourceUnopenable:
      return Warning(std::string(msg::SOURCE_UNOPENABLE), msg::CAPTION_OPEN_ERROR);
    case Problem::SamePath:
      return Warning(std::string(msg::SAME_PATH), msg::CAPTION_SAME_PATH);
    case Problem::ReservedCharacter:
      return Warning(std::string(msg::RESERVED_CHARS), msg::CAPTION_NAME);
    case Problem::UnrepresentableName:
      return Warning(std::string(msg::UNREPRESENTABLE_NAME), msg::CAPTION_NAME);
    case Problem::TargetUnopenable:
      return Warning(std::string(msg::TARGET_UNOPENABLE), msg::CAPTION_OPEN_ERROR);
    case Problem::WriteFailed:
      return Warning(std::string(msg::WRITE_FAILED), msg::CAPTION_APP);
    case Problem::ReadFailed:
      return Warning(std::string(msg::READ_FAILED), msg::CAPTION_APP);
    case Problem::InvalidUtf8:
      return InvalidText(report.line, msg::INVALID_UTF8_LINE_SUFFIX);
    case Problem::InvalidUtf16:
      return InvalidText(report.line, msg::INVALID_UTF16_LINE_SUFFIX);
    case Problem::CopyFailed:
      return Warning(std::string(msg::COPY_FAILED), msg::CAPTION_APP);
    case Problem::OutOfMemory:
      break;
  }
  return Warning(std::string(msg::OUT_OF_MEMORY), msg::CAPTION_APP);
}

Message MessageOf(const Completion& completion) {
  std::string text(completion.pagePath);
  text.append(msg::COMPLETED_SUFFIX);
  return {std::move(text), msg::CAPTION_COMPLETED, MessageKind::Information, MessageButtons::Ok};
}

}  // namespace

Message WindowMessage(const Utterance& said) {
  return std::visit([](const auto& value) { return MessageOf(value); }, said);
}

}  // namespace morvel
