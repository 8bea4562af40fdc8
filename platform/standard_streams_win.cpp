// Standard input and output as the engine's byte streams on Win32: the handles' bytes as they
// are, never the C runtime's text mode.
#include <windows.h>

#include "platform/handle_io_win.h"
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

}  // namespace

std::unique_ptr<ByteReader> OpenStandardInput() {
  const HANDLE handle = DuplicateStandardHandle(STD_INPUT_HANDLE);
  if (handle == INVALID_HANDLE_VALUE) return nullptr;
  return std::make_unique<HandleReader>(handle);
}

// The page reaches standard output as it is written; there is no older version to keep.
std::unique_ptr<ByteWriter> OpenStandardOutput() {
  const HANDLE handle = DuplicateStandardHandle(STD_OUTPUT_HANDLE);
  if (handle == INVALID_HANDLE_VALUE) return nullptr;
  return std::make_unique<HandleWriter>(handle);
}

namespace {

// As the file system's IdentityOf gives it, for a file on disk only.
std::optional<FileIdentity> IdentityOfStandardHandle(DWORD stream) {
  const HANDLE handle = GetStdHandle(stream);
  if (handle == INVALID_HANDLE_VALUE || handle == nullptr ||
      GetFileType(handle) != FILE_TYPE_DISK) {
    return std::nullopt;
  }
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(handle, &info)) return std::nullopt;
  return FileIdentity{info.dwVolumeSerialNumber,
                      (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

}  // namespace

std::optional<FileIdentity> StandardInputIdentity() {
  return IdentityOfStandardHandle(STD_INPUT_HANDLE);
}

std::optional<FileIdentity> StandardOutputIdentity() {
  return IdentityOfStandardHandle(STD_OUTPUT_HANDLE);
}

}  // namespace morvel
