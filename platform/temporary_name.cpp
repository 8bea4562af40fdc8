#include "platform/temporary_name.h"

#include <atomic>
#include <cstdint>
#include <ctime>
#include <random>

namespace morvel {

namespace {

constexpr std::string_view ALPHABET = "0123456789abcdefghijklmnopqrstuvwxyz";

// 64 bits from the system's random source, mixed with the time and a counter so that names
// stay apart where that source is missing. Creating the file with "must not exist" is what
// keeps names unique; this only keeps retries rare.
std::uint64_t RandomBits() {
  static std::atomic<std::uint64_t> counter{0};
  std::uint64_t bits = 0;
  try {
    std::random_device device;
    bits = (static_cast<std::uint64_t>(device()) << 32) ^ device();
  } catch (...) {
  }
  bits ^= static_cast<std::uint64_t>(std::time(nullptr)) * 0x9E3779B97F4A7C15u;
  bits ^= static_cast<std::uint64_t>(std::clock()) * 0x94D049BB133111EBu;
  bits ^= ++counter * 0xBF58476D1CE4E5B9u;
  return bits;
}

}  // namespace

std::string NewTemporaryName() {
  std::string name(TEMPORARY_PREFIX);
  std::uint64_t bits = RandomBits();
  // 36^12 is below 2^63: twelve digits in base 36 use the bits without bias worth noting.
  for (std::size_t i = 0; i < TEMPORARY_RANDOM_LENGTH; ++i) {
    name += ALPHABET[bits % ALPHABET.size()];
    bits /= ALPHABET.size();
  }
  name += TEMPORARY_SUFFIX;
  return name;
}

bool IsTemporaryName(std::string_view name) {
  if (name.size() != TEMPORARY_PREFIX.size() + TEMPORARY_RANDOM_LENGTH + TEMPORARY_SUFFIX.size() ||
      !name.starts_with(TEMPORARY_PREFIX) || !name.ends_with(TEMPORARY_SUFFIX)) {
    return false;
  }
  const std::string_view random = name.substr(TEMPORARY_PREFIX.size(), TEMPORARY_RANDOM_LENGTH);
  return random.find_first_not_of(ALPHABET) == std::string_view::npos;
}

}  // namespace morvel
