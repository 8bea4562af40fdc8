// Standard input and output as the engine's byte streams on Win32: the handles' bytes as they
// are, never the C runtime's text mode.
#include <windows.h>

#include "platform/native_platform.h"

namespace morvel {

namespace {

// Each stream is a duplicate handle of its own, closed with the stream.
HANDLE DuplicateStandardHandle(DWORD stream) {
  const HANDLE standard = GetStdHandle(stream);
  HANDLE duplicate = INVALID_HANDLE_VALUE;
  if (standard == INVALID_HANDLE_VALUE || standard == nullptr ||
      !DuplicateHandle(GetCurrentProcess(), standard, GetCurrentProcess(), &duplicate, 0, FALSE,
                       DUPLICATE_SAME_ACCESS)) {
    return INVALID_HANDLE_VALUE;
  }
  return duplicate;
}

constexpr DWORD LARGEST_TRANSFER = 0x10000000;

class StandardInput final : public ByteReader {
 public:
  explicit StandardInput(HANDLE handle) : handle_(handle) {}
  ~StandardInput() override { CloseHandle(handle_); }
  std::optional<std::size_t> Read(char* buffer, std::size_t capacity) override {
    DWORD count = 0;
    const DWORD wanted =
        capacity > LARGEST_TRANSFER ? LARGEST_TRANSFER : static_cast<DWORD>(capacity);
    if (ReadFile(handle_, buffer, wanted, &count, nullptr)) return count;
    // A pipe whose writer has finished ends this way.
    if (GetLastError() == ERROR_BROKEN_PIPE) return 0;
    return std::nullopt;
  }

 private:
  HANDLE handle_;
};

// The page reaches standard output as it is written; there is no older version to keep, so
// Commit() only reports whether everything got there.
class StandardOutput final : public ByteWriter {
 public:
  explicit StandardOutput(HANDLE handle) : handle_(handle) {}
  ~StandardOutput() override {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  bool Write(std::string_view bytes) override {
    while (!bytes.empty()) {
      const DWORD wanted =
          bytes.size() > LARGEST_TRANSFER ? LARGEST_TRANSFER : static_cast<DWORD>(bytes.size());
      DWORD count = 0;
      if (!WriteFile(handle_, bytes.data(), wanted, &count, nullptr) || count == 0) return false;
      bytes.remove_prefix(count);
    }
    return true;
  }
  bool Commit() override {
    const bool closed = CloseHandle(handle_) != 0;
    handle_ = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  HANDLE handle_;
};

}  // namespace

std::unique_ptr<ByteReader> OpenStandardInput() {
  const HANDLE handle = DuplicateStandardHandle(STD_INPUT_HANDLE);
  if (handle == INVALID_HANDLE_VALUE) return nullptr;
  return std::make_unique<StandardInput>(handle);
}

std::unique_ptr<ByteWriter> OpenStandardOutput() {
  const HANDLE handle = DuplicateStandardHandle(STD_OUTPUT_HANDLE);
  if (handle == INVALID_HANDLE_VALUE) return nullptr;
  return std::make_unique<StandardOutput>(handle);
}

}  // namespace morvel
