#include "engine/text_reader.h"

#include <cstring>

namespace morvel {

namespace {

constexpr std::size_t READ_SIZE = 128 * 1024;
constexpr char END_OF_TEXT = '\x1A';

}  // namespace

TextReader::TextReader(ByteReader& source)
    : source_(source), buffer_(std::make_unique_for_overwrite<char[]>(READ_SIZE)) {}

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
  if (const void* stop = std::memchr(buffer_.get(), END_OF_TEXT, size)) {
    size = static_cast<std::size_t>(static_cast<const char*>(stop) - buffer_.get());
    ended_ = true;
    if (size == 0) return false;
  }
  block = std::string_view(buffer_.get(), size);
  return true;
}

}  // namespace morvel
