// A source that can be read only once (a pipe, a device), made readable again from its start:
// what it gives is kept in a scratch while it may still be needed.
#pragma once

#include <cstdint>
#include <memory>

#include "engine/outside_world.h"

namespace morvel {

class KeptSource final : public ByteReader {
 public:
  // `files` gives the scratch, once there is something to keep.
  KeptSource(ByteReader& source, FileSystem& files) : source_(source), files_(files) {}

  // Hands out what was kept from the position on, then the source's further bytes, keeping
  // those too unless StopKeeping() was called. Nothing when the source or the scratch failed.
  std::optional<std::size_t> Read(char* buffer, std::size_t capacity) override;

  // Starts again at the first byte.
  void Rewind() { position_ = 0; }
  // The bytes read from now on will not be needed again.
  void StopKeeping() { keeping_ = false; }

 private:
  ByteReader& source_;
  FileSystem& files_;
  std::unique_ptr<Scratch> scratch_;
  std::uint64_t kept_ = 0;
  std::uint64_t position_ = 0;
  bool keeping_ = true;
};

}  // namespace morvel
