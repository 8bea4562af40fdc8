#include "engine/text_reader.h"

#include <cstring>

namespace morvel {

namespace {

constexpr std::size_t READ_SIZE = 128 * 1024;
constexpr char END_OF_TEXT = '\x1A';

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
  std::size_t size = *count;
  // A 0x1A ends the input: the text stops before it and nothing more is read.
  const void* stop = cutAtByte1A_ ? std::memchr(buffer_.get(), END_OF_TEXT, size) : nullptr;
  if (stop) {
    size = static_cast<std::size_t>(static_cast<const char*>(stop) - buffer_.get());
    ended_ = true;
    if (size == 0) return false;
  }
  block = std::string_view(buffer_.get(), size);
  return true;
}

}  // namespace morvel
