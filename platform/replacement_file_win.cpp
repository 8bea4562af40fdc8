#include "platform/replacement_file_win.h"

#include <windows.h>

#include "platform/handle_io_win.h"
#include "platform/temporary_name.h"

namespace morvel {

namespace {

std::wstring HiddenTemporaryPath(const std::wstring& path) {
  const auto separator = path.find_last_of(L"\\/");
  const std::size_t nameStart = separator == std::wstring::npos ? 0 : separator + 1;
  std::wstring hidden = path.substr(0, nameStart);
  hidden += L'.';
  hidden.append(path, nameStart);
  hidden.append(TEMPORARY_SUFFIX.begin(), TEMPORARY_SUFFIX.end());
  return hidden;
}

bool MarkForDeletion(HANDLE file, bool deleteOnClose) {
  FILE_DISPOSITION_INFO disposition{};
  disposition.DeleteFile = deleteOnClose ? TRUE : FALSE;
  return SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition) !=
         0;
}

class ReplacementFile final : public ByteWriter {
 public:
  ReplacementFile(HANDLE file, std::wstring target, std::wstring temporary)
      : file_(file), target_(std::move(target)), temporary_(std::move(temporary)) {
    markedForDeletion_ = MarkForDeletion(file_, true);
  }

  ~ReplacementFile() override {
    if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
    if (!committed_) DeleteFileW(temporary_.c_str());
  }

  bool Write(std::string_view bytes) override { return WriteAll(file_, bytes); }

  bool Commit() override {
    if (markedForDeletion_ && !MarkForDeletion(file_, false)) return false;
    const BOOL closed = CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
    if (!closed) return false;
    SetFileAttributesW(temporary_.c_str(), FILE_ATTRIBUTE_NORMAL);
    const bool pageExists = GetFileAttributesW(target_.c_str()) != INVALID_FILE_ATTRIBUTES;
    committed_ = pageExists ? ReplaceFileW(target_.c_str(), temporary_.c_str(), nullptr,
                                           REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) != 0
                            : MoveFileExW(temporary_.c_str(), target_.c_str(), 0) != 0;
    return committed_;
  }

 private:
  HANDLE file_;
  std::wstring target_;
  std::wstring temporary_;
  bool markedForDeletion_ = false;
  bool committed_ = false;
};

}  // namespace

std::unique_ptr<ByteWriter> OpenReplacement(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return nullptr;
    // A page the user may not write (read-only, locked, no access) is refused, though its
    // folder would take a new file that replaces it; opening it changes nothing.
    const HANDLE probe =
        CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (probe == INVALID_HANDLE_VALUE) return nullptr;
    CloseHandle(probe);
  }
  std::wstring temporary = HiddenTemporaryPath(path);
  SetFileAttributesW(temporary.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileW(temporary.c_str());  // left by a run that was killed
  const HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_READ,
                                  nullptr, CREATE_NEW, FILE_ATTRIBUTE_HIDDEN, nullptr);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  return std::make_unique<ReplacementFile>(file, path, std::move(temporary));
}

}  // namespace morvel
