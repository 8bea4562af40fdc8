// The first bytes of a character that the end of a block cut off, kept by a stream converter
// until the next block brings the rest. Every converter of text/ that takes blocks cut anywhere
// carries its cut-off character in one of these.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string_view>

namespace morvel {

class CarriedBytes {
 public:
  // The longest character of any of the encodings: four bytes in UTF-8, a surrogate pair in
  // UTF-16.
  static constexpr std::size_t CAPACITY = 4;

  bool Empty() const { return size_ == 0; }
  std::size_t Size() const { return size_; }
  std::string_view View() const { return {bytes_, size_}; }

  // Keeps `bytes` (at most CAPACITY) in place of what was kept.
  void Keep(std::string_view bytes) {
    size_ = std::min(bytes.size(), CAPACITY);
    if (size_ != 0) std::memcpy(bytes_, bytes.data(), size_);
  }

  // Moves bytes from the front of `block` until `length` (at most CAPACITY) are kept or
  // `block` is used up; true when `length` are kept.
  bool FillTo(std::size_t length, std::string_view& block) {
    const std::size_t wanted = std::min(length, CAPACITY);
    const std::size_t taken = std::min(wanted - std::min(wanted, size_), block.size());
    if (taken != 0) std::memcpy(bytes_ + size_, block.data(), taken);
    size_ += taken;
    block.remove_prefix(taken);
    return size_ >= wanted;
  }

  void Clear() { size_ = 0; }

 private:
  char bytes_[CAPACITY] = {};
  std::size_t size_ = 0;
};

}  // namespace morvel
