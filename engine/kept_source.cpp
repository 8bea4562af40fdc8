#include "engine/kept_source.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace morvel {

namespace {

class MemoryScratch final : public Scratch {
 public:
  bool Append(std::string_view bytes) override {
    bytes_.append(bytes);
    return true;
  }
  std::optional<std::size_t> ReadAt(std::uint64_t offset, char* buffer,
                                    std::size_t capacity) override {
    if (offset >= bytes_.size()) return 0;
    const std::size_t count = std::min<std::size_t>(capacity, bytes_.size() - offset);
    std::memcpy(buffer, bytes_.data() + offset, count);
    return count;
  }

 private:
  std::string bytes_;
};

}  // namespace

std::unique_ptr<Scratch> FileSystem::OpenScratch() { return std::make_unique<MemoryScratch>(); }

std::optional<std::size_t> KeptSource::Read(char* buffer, std::size_t capacity) {
  if (position_ < kept_) {
    const std::size_t wanted =
        static_cast<std::size_t>(std::min<std::uint64_t>(capacity, kept_ - position_));
    const auto count = scratch_->ReadAt(position_, buffer, wanted);
    // What was kept is there in full: a short scratch is a failed one.
    if (!count || *count == 0) return std::nullopt;
    position_ += *count;
    return count;
  }
  const auto count = source_.Read(buffer, capacity);
  if (!count || *count == 0 || !keeping_) return count;
  if (!scratch_) scratch_ = files_.OpenScratch();
  if (!scratch_ || !scratch_->Append(std::string_view(buffer, *count))) return std::nullopt;
  kept_ += *count;
  position_ = kept_;
  return count;
}

}  // namespace morvel
