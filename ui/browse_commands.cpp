// Commands 1002 and 1004: the open and save file dialogs behind the two browse buttons.
#include <cstring>
#include <string>

#include "platform/wide_text_win.h"
#include "ui/commands.h"
#include "ui/resources/resource_ids.h"

namespace morvel::ui {

namespace {

// Display text and pattern list for each entry, each ended by a zero byte; the literal's own
// terminator ends the list.
constexpr char OPEN_FILTERS[] =
    "アスキーファイル(*.txt;*.htm;*html)\0*.txt;*.htm;*html\0"
    "画像ファイル(*.jpg;*.jpeg;*.bmp;*.dib;*.gif;*.png)\0*.jpg;*.jpeg;*.bmp;*.dib;*.gif;*.png\0"
    "すべてのファイル(*.*)\0*.*\0";
constexpr char SAVE_FILTERS[] = "Web ファイル(*.htm;*html)\0*.htm;*html\0";

constexpr char OPEN_TITLE[] = "変換するファイル";
constexpr char SAVE_TITLE[] = "変換したファイルの保存先";
constexpr wchar_t SAVE_DEFAULT_EXTENSION[] = L"htm";

// A filter list as UTF-16, every zero byte of it included.
template <std::size_t SIZE>
std::wstring WidenList(const char (&list)[SIZE]) {
  return Widen(std::string_view(list, SIZE));
}

// The record both dialogs share, filled afresh before each opens. Its size is that of the
// classic record without the trailing reserved fields.
void FillFileDialogRecord(WindowState& state, const std::wstring& filters,
                          const std::wstring& title, DWORD flags, const wchar_t* defaultExtension) {
  OPENFILENAMEW& record = state.fileDialogRecord;
  std::memset(&record, 0, sizeof record);
  record.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
  record.hwndOwner = state.mainWindow;
  record.lpstrFilter = filters.c_str();
  record.nFilterIndex = 1;
  record.lpstrFile = state.fileNameBuffer;
  record.nMaxFile = FIELD_TEXT_LIMIT;
  record.lpstrTitle = title.c_str();
  record.Flags = flags;
  record.lpstrDefExt = defaultExtension;
}

// A confirmed path goes into the field; the buffer is then emptied for the next dialog.
void TakeChosenPath(WindowState& state, BOOL confirmed, int fieldId) {
  if (!confirmed) return;
  SetDlgItemTextW(state.mainWindow, fieldId, state.fileNameBuffer);
  state.fileNameBuffer[0] = L'\0';
}

}  // namespace

void BrowseForSource(WindowState& state) {
  static const std::wstring filters = WidenList(OPEN_FILTERS);
  static const std::wstring title = Widen(OPEN_TITLE);
  FillFileDialogRecord(state, filters, title, OFN_FILEMUSTEXIST, nullptr);
  TakeChosenPath(state, state.dialogs.getOpenFileName(&state.fileDialogRecord), IDC_SOURCE_PATH);
}

void BrowseForTarget(WindowState& state) {
  static const std::wstring filters = WidenList(SAVE_FILTERS);
  static const std::wstring title = Widen(SAVE_TITLE);
  FillFileDialogRecord(state, filters, title, 0, SAVE_DEFAULT_EXTENSION);
  TakeChosenPath(state, state.dialogs.getSaveFileName(&state.fileDialogRecord), IDC_TARGET_PATH);
}

}  // namespace morvel::ui
