// Commands 1002 and 1004: the open and save file dialogs behind the two browse buttons.
#include <cstring>

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
constexpr char SAVE_DEFAULT_EXTENSION[] = "htm";

// The record both dialogs share, filled afresh before each opens. Its size is that of the
// classic record without the trailing reserved fields.
void FillFileDialogRecord(WindowState& state, const char* filters, const char* title, DWORD flags,
                          const char* defaultExtension) {
  OPENFILENAMEA& record = state.fileDialogRecord;
  std::memset(&record, 0, sizeof record);
  record.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
  record.hwndOwner = state.mainWindow;
  record.lpstrFilter = filters;
  record.nFilterIndex = 1;
  record.lpstrFile = state.fileNameBuffer;
  record.nMaxFile = PATH_BUFFER_SIZE - 1;
  record.lpstrTitle = title;
  record.Flags = flags;
  record.lpstrDefExt = defaultExtension;
}

// A confirmed path goes into the field; the buffer is then emptied for the next dialog.
void TakeChosenPath(WindowState& state, BOOL confirmed, int fieldId) {
  if (!confirmed) return;
  SetDlgItemTextA(state.mainWindow, fieldId, state.fileNameBuffer);
  state.fileNameBuffer[0] = '\0';
}

}  // namespace

void BrowseForSource(WindowState& state) {
  FillFileDialogRecord(state, OPEN_FILTERS, OPEN_TITLE, OFN_FILEMUSTEXIST, nullptr);
  TakeChosenPath(state, state.dialogs.getOpenFileName(&state.fileDialogRecord), IDC_SOURCE_PATH);
}

void BrowseForTarget(WindowState& state) {
  FillFileDialogRecord(state, SAVE_FILTERS, SAVE_TITLE, 0, SAVE_DEFAULT_EXTENSION);
  TakeChosenPath(state, state.dialogs.getSaveFileName(&state.fileDialogRecord), IDC_TARGET_PATH);
}

}  // namespace morvel::ui
