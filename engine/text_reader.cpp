#include "engine/text_reader.h"

#include "text/encoding.h"

namespace morvel {

namespace {

constexpr std::size_t READ_SIZE = 128 * 1024;

}  // namespace

TextReader::TextReader(ByteReader& source, EndOfText endOfText)
    : source_(source),
      buffer_(new char[READ_SIZE]),  // left uninitialised
      cutAtByte1A_(endOfText == EndOfText::AtByte1A) {}

bool TextReader::Read(std::string_view& block) {
  if (ended_) return false;
  const auto count = source_.Read(buffer_.get(), READ_SIZE);
  if (!count || *count == 0) {
    failed_ = !count;
    ended_ = true;
    return false;
  }
  block = std::string_view(buffer_.get(), *count);
  // The end of text ends the input: the text stops before it and nothing more is read.
  if (cutAtByte1A_ && CutAtEndOfText(block)) {
    ended_ = true;
    return !block.empty();
  }
  return true;
}

}  // namespace morvel
