// The engine's file system on Win32. Engine paths (code page 932) are converted to UTF-16 for
// the W functions explicitly, so the system's ANSI code page plays no part.
#include <windows.h>

#include "platform/handle_io_win.h"
#include "platform/native_platform.h"
#include "platform/replacement_file_win.h"
#include "platform/scratch_file.h"
#include "platform/wide_text_win.h"

namespace morvel {

namespace {

FileIdentity IdentityFrom(const BY_HANDLE_FILE_INFORMATION& info) {
  return {info.dwVolumeSerialNumber,
          (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

// The version of an open regular file; nothing for a pipe, a console or a device, which may
// give other bytes, or none, when read again.
std::optional<FileVersion> VersionOf(HANDLE file) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (GetFileType(file) != FILE_TYPE_DISK || !GetFileInformationByHandle(file, &info)) {
    return std::nullopt;
  }
  const auto wide = [](DWORD high, DWORD low) {
    return (static_cast<std::uint64_t>(high) << 32) | low;
  };
  return FileVersion{IdentityFrom(info), wide(info.nFileSizeHigh, info.nFileSizeLow),
                     static_cast<std::int64_t>(wide(info.ftLastWriteTime.dwHighDateTime,
                                                    info.ftLastWriteTime.dwLowDateTime))};
}

class Win32FileSystem final : public FileSystem {
 public:
  std::optional<std::string> FindFirst(std::string_view path) override {
    WIN32_FIND_DATAW entry{};
    const HANDLE search = FindFirstFileW(WidePath(path).c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return std::nullopt;
    // A wildcard may match names that code page 932 cannot spell; the first one it can is
    // taken, as a name the engine cannot hold cannot be converted anyway.
    std::optional<std::string> name;
    do {
      name = ToCodePage932(entry.cFileName);
    } while (!name && FindNextFileW(search, &entry));
    FindClose(search);
    return name;
  }

  bool IsFolder(std::string_view path) override {
    const DWORD attributes = GetFileAttributesW(WidePath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
  }

  std::optional<FileIdentity> IdentityOf(std::string_view path) override {
    // Backup semantics open folders too; no access rights are needed to read the identity.
    const HANDLE file = CreateFileW(WidePath(path).c_str(), 0,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info{};
    const BOOL ok = GetFileInformationByHandle(file, &info);
    CloseHandle(file);
    if (!ok) return std::nullopt;
    return IdentityFrom(info);
  }

  CopyOutcome CopyIfAbsent(std::string_view from, std::string_view to) override {
    const std::wstring destination = WidePath(to);
    if (GetFileAttributesW(destination.c_str()) != INVALID_FILE_ATTRIBUTES) {
      return CopyOutcome::DestinationExists;
    }
    if (CopyFileW(WidePath(from).c_str(), destination.c_str(), TRUE)) {
      return CopyOutcome::Copied;
    }
    const DWORD error = GetLastError();
    return (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS)
               ? CopyOutcome::DestinationExists
               : CopyOutcome::Failed;
  }

  std::unique_ptr<ByteReader> OpenForReading(std::string_view path) override {
    const HANDLE file = CreateFileW(WidePath(path).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<HandleReader>(file, VersionOf(file));
  }

  std::unique_ptr<ByteWriter> OpenForWriting(std::string_view path) override {
    return OpenReplacement(WidePath(path));
  }

  std::unique_ptr<Scratch> OpenScratch() override { return OpenScratchFile(); }
};

}  // namespace

std::unique_ptr<FileSystem> MakeNativeFileSystem() { return std::make_unique<Win32FileSystem>(); }

}  // namespace morvel
