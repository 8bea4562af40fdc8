#include <windows.h>

#include <algorithm>
#include <stdexcept>

#include "tests/support/temp_folder.h"
#include "text/code_page_932.h"
#include "text/utf16.h"

namespace morvel::testing {

namespace {

void RemoveTree(const std::string& path) {
  WIN32_FIND_DATAA entry{};
  const HANDLE search = FindFirstFileA((path + "\\*").c_str(), &entry);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = entry.cFileName;
      if (name == "." || name == "..") continue;
      const std::string child = path + "\\" + name;
      SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(child);
      } else {
        DeleteFileA(child.c_str());
      }
    } while (FindNextFileA(search, &entry));
    FindClose(search);
  }
  RemoveDirectoryA(path.c_str());
}

}  // namespace

TempFolder::TempFolder() {
  // Under Wine, Z: is the Unix root: the folders go to /tmp through it, so the tests see real
  // Unix files through Wine's drive mapping. Elsewhere, the user's temporary folder.
  char base[MAX_PATH] = "Z:\\tmp\\";
  const DWORD unixTemp = GetFileAttributesA(base);
  if (unixTemp == INVALID_FILE_ATTRIBUTES || !(unixTemp & FILE_ATTRIBUTE_DIRECTORY)) {
    GetTempPathA(MAX_PATH, base);
  }
  for (unsigned attempt = GetTickCount(); root_.empty(); ++attempt) {
    std::string candidate = std::string(base) + "morvel-test-" + std::to_string(GetCurrentProcessId()) +
                            "-" + std::to_string(attempt);
    if (CreateDirectoryA(candidate.c_str(), nullptr)) root_ = candidate;
    else if (GetLastError() != ERROR_ALREADY_EXISTS) throw std::runtime_error("no temp folder");
  }
}

TempFolder::~TempFolder() { RemoveTree(root_); }

std::string TempFolder::Path(std::string_view name) const {
  return name.empty() ? root_ : root_ + "\\" + std::string(name);
}

void TempFolder::WriteFile(std::string_view name, std::string_view bytes) const {
  const HANDLE file = CreateFileA(Path(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot create test file");
  DWORD written = 0;
  ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

void TempFolder::WriteFileNamedInUtf8(std::string_view utf8Name) const {
  const auto root = Cp932ToUtf16(root_);
  const auto name = Utf8ToUtf16(utf8Name);
  if (!root || !name) throw std::runtime_error("cannot spell the test file's name");
  const std::u16string path = *root + u"\\" + *name;
  const HANDLE file = CreateFileW(std::wstring(path.begin(), path.end()).c_str(), GENERIC_WRITE, 0,
                                  nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot create test file");
  CloseHandle(file);
}

std::optional<std::string> TempFolder::ReadFile(std::string_view name) const {
  const HANDLE file = CreateFileA(Path(name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes;
  char buffer[65536];
  DWORD count = 0;
  while (::ReadFile(file, buffer, sizeof buffer, &count, nullptr) && count > 0) {
    bytes.append(buffer, count);
  }
  CloseHandle(file);
  return bytes;
}

void TempFolder::MakeFolder(std::string_view name) const {
  CreateDirectoryA(Path(name).c_str(), nullptr);
}

std::vector<std::string> TempFolder::List() const {
  std::vector<std::string> names;
  WIN32_FIND_DATAA entry{};
  const HANDLE search = FindFirstFileA((root_ + "\\*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = entry.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(search, &entry));
  FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace morvel::testing
