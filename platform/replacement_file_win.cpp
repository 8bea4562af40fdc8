#include "platform/replacement_file_win.h"

#include <windows.h>

#include "platform/handle_io_win.h"
#include "platform/native_platform.h"
#include "platform/temporary_name.h"

namespace morvel {

namespace {

// Tries to put a page in place while another run is putting its own there (each try waits a
// little longer; about a second in all).
constexpr int PLACING_ATTEMPTS = 12;

std::wstring FolderPrefix(const std::wstring& path) {
  const auto separator = path.find_last_of(L"\\/");
  return separator == std::wstring::npos ? std::wstring() : path.substr(0, separator + 1);
}

bool MarkForDeletion(HANDLE file, bool deleteOnClose) {
  FILE_DISPOSITION_INFO disposition{};
  disposition.DeleteFile = deleteOnClose ? TRUE : FALSE;
  return SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition) !=
         0;
}

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Puts the closed file `temporary` at `target`: ReplaceFileW over a page (which keeps that
// page's attributes and permissions), MoveFileExW where there is none. Another run may put its
// page there at the same moment, so a page appearing or vanishing, or being held open, between
// the look and the move is met by trying again. The old page is set aside under a temporary
// name of this run's own (some ReplaceFileW implementations otherwise leave one of theirs
// behind when they lose such a race), and removed once the new page is in place.
bool PutInPlace(const std::wstring& temporary, const std::wstring& target) {
  const std::wstring folder = FolderPrefix(target);
  for (int attempt = 0; attempt < PLACING_ATTEMPTS; ++attempt) {
    if (attempt > 0) Sleep(static_cast<DWORD>(attempt * 15));
    if (!Exists(target)) {
      if (MoveFileExW(temporary.c_str(), target.c_str(), 0)) return true;
    } else {
      const std::string name = NewTemporaryName();
      const std::wstring oldPage = folder + std::wstring(name.begin(), name.end());
      if (ReplaceFileW(target.c_str(), temporary.c_str(), oldPage.c_str(),
                       REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
        DeleteFileW(oldPage.c_str());
        return true;
      }
      if (GetLastError() == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) {
        // The old page was set aside but this one could not take its name: try once more, or
        // give the old page its name back. It goes only once another run's page has the name.
        const bool placed = MoveFileExW(temporary.c_str(), target.c_str(), 0) != 0;
        if (placed || (!MoveFileExW(oldPage.c_str(), target.c_str(), 0) && Exists(target))) {
          DeleteFileW(oldPage.c_str());
        }
        if (placed) return true;
      }
    }
    if (!Exists(temporary)) return false;
  }
  return false;
}

class ReplacementFile final : public ByteWriter {
 public:
  ReplacementFile(HANDLE file, std::wstring target, std::wstring temporary)
      : file_(file), target_(std::move(target)), temporary_(std::move(temporary)) {
    markedForDeletion_ = MarkForDeletion(file_, true);
  }

  ~ReplacementFile() override {
    if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
    if (!committed_) {
      SetFileAttributesW(temporary_.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileW(temporary_.c_str());
    }
  }

  bool Write(std::string_view bytes) override { return WriteAll(file_, bytes); }

  bool Commit() override {
    // Only a page that replaces another is flushed: the old page is what a power cut could
    // otherwise cost.
    if (Exists(target_) && !FlushFileBuffers(file_)) return false;
    if (markedForDeletion_ && !MarkForDeletion(file_, false)) return false;
    const BOOL closed = CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
    if (!closed) return false;
    SetFileAttributesW(temporary_.c_str(), FILE_ATTRIBUTE_NORMAL);
    committed_ = PutInPlace(temporary_, target_);
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
  const std::wstring folder = FolderPrefix(path);
  for (int attempt = 0; attempt < NAME_ATTEMPTS; ++attempt) {
    const std::string name = NewTemporaryName();
    std::wstring temporary = folder + std::wstring(name.begin(), name.end());
    const HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_READ,
                                    nullptr, CREATE_NEW, FILE_ATTRIBUTE_HIDDEN, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      return std::make_unique<ReplacementFile>(file, path, std::move(temporary));
    }
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return nullptr;
  }
  return nullptr;
}

// A page being written is marked for deletion until it is put in place, so it goes with the
// process however that ends.
void RemoveTemporariesWhenInterrupted() {}

void StopIfInterrupted() {}

void ReportRefusedWritesAsFailures() {}

}  // namespace morvel
