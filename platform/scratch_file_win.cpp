// A scratch on Win32: a file in the user's temporary folder, marked for deletion when it is
// closed, so that it goes with the process however it ends.
#include <windows.h>

#include <string>

#include "platform/handle_io_win.h"
#include "platform/scratch_file.h"

namespace morvel {

namespace {

class ScratchFile final : public Scratch {
 public:
  explicit ScratchFile(HANDLE file) : file_(file) {}
  ~ScratchFile() override { CloseHandle(file_); }
  bool Append(std::string_view bytes) override {
    while (!bytes.empty()) {
      const DWORD wanted =
          bytes.size() > LARGEST_TRANSFER ? LARGEST_TRANSFER : static_cast<DWORD>(bytes.size());
      OVERLAPPED at = At(end_);
      DWORD count = 0;
      if (!WriteFile(file_, bytes.data(), wanted, &count, &at) || count == 0) return false;
      end_ += count;
      bytes.remove_prefix(count);
    }
    return true;
  }
  std::optional<std::size_t> ReadAt(std::uint64_t offset, char* buffer,
                                    std::size_t capacity) override {
    const DWORD wanted =
        capacity > LARGEST_TRANSFER ? LARGEST_TRANSFER : static_cast<DWORD>(capacity);
    OVERLAPPED at = At(offset);
    DWORD count = 0;
    if (ReadFile(file_, buffer, wanted, &count, &at)) return count;
    if (GetLastError() == ERROR_HANDLE_EOF) return 0;
    return std::nullopt;
  }

 private:
  static OVERLAPPED At(std::uint64_t offset) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return at;
  }
  HANDLE file_;
  std::uint64_t end_ = 0;
};

}  // namespace

std::unique_ptr<Scratch> OpenScratchFile() {
  wchar_t folder[MAX_PATH + 1];
  wchar_t path[MAX_PATH + 1];
  const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
  if (length == 0 || length > MAX_PATH || !GetTempFileNameW(folder, L"mvl", 0, path)) {
    return nullptr;
  }
  const HANDLE file = CreateFileW(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    DeleteFileW(path);
    return nullptr;
  }
  return std::make_unique<ScratchFile>(file);
}

}  // namespace morvel
