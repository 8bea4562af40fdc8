// Win32 handles as the engine's byte streams, shared by the file system, the replacement
// files and the standard streams.
#pragma once

#include <windows.h>

#include <optional>
#include <string_view>

#include "engine/outside_world.h"

namespace morvel {

// The most one ReadFile or WriteFile call is asked to move.
inline constexpr DWORD LARGEST_TRANSFER = 0x10000000;

// Writes every byte to `handle`. False on any error.
inline bool WriteAll(HANDLE handle, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD wanted =
        bytes.size() > LARGEST_TRANSFER ? LARGEST_TRANSFER : static_cast<DWORD>(bytes.size());
    DWORD count = 0;
    if (!WriteFile(handle, bytes.data(), wanted, &count, nullptr) || count == 0) return false;
    bytes.remove_prefix(count);
  }
  return true;
}

// Reads a handle it owns. A pipe whose writer has finished ends the input. `version` is the
// regular file's as it was opened, or nothing for a source read once.
class HandleReader final : public ByteReader {
 public:
  explicit HandleReader(HANDLE handle, std::optional<FileVersion> version = std::nullopt)
      : handle_(handle), version_(version) {}
  ~HandleReader() override { CloseHandle(handle_); }
  std::optional<FileVersion> Version() const override { return version_; }
  std::optional<std::size_t> Read(char* buffer, std::size_t capacity) override {
    DWORD count = 0;
    const DWORD wanted =
        capacity > LARGEST_TRANSFER ? LARGEST_TRANSFER : static_cast<DWORD>(capacity);
    if (ReadFile(handle_, buffer, wanted, &count, nullptr)) return count;
    if (GetLastError() == ERROR_BROKEN_PIPE) return 0;
    return std::nullopt;
  }

 private:
  HANDLE handle_;
  std::optional<FileVersion> version_;
};

// Writes a handle it owns in place, for what holds nothing that a failure could cost
// (standard output): Commit() closes it and reports whether everything got there.
class HandleWriter final : public ByteWriter {
 public:
  explicit HandleWriter(HANDLE handle) : handle_(handle) {}
  ~HandleWriter() override {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  bool Write(std::string_view bytes) override { return WriteAll(handle_, bytes); }
  bool IsStream() const override { return true; }
  bool Commit() override {
    const bool closed = CloseHandle(handle_) != 0;
    handle_ = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  HANDLE handle_;
};

}  // namespace morvel
