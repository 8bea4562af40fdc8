// The browse and colour commands with the common dialogs replaced by stand-ins: what each
// command hands the dialog, and what it does with the answer. The real main dialog is opened
// from the program's own template, so the fields written are the real controls.
#include <gtest/gtest.h>

#include <cstring>
#include <cwchar>
#include <string>

#include "ui/commands.h"
#include "ui/dialog_user_interface.h"
#include "ui/main_window.h"
#include "ui/resources/resource_ids.h"
#include "ui/window_state.h"

namespace morvel::ui {
namespace {

// What the stand-in dialogs saw and what they answer. The expected texts are wide literals, so
// the window's own conversions from code page 932 are checked against the compiler's.
struct DialogScript {
  int calls = 0;
  OPENFILENAMEW fileRecord = {};
  std::wstring initialName;
  CHOOSECOLORW colourRequest = {};
  COLORREF customSeen[CUSTOM_COLOUR_COUNT] = {};
  BOOL confirm = TRUE;
  const wchar_t* chosenPath = L"";
  COLORREF chosenColour = 0;
};
DialogScript script;

BOOL WINAPI FakeFileDialog(OPENFILENAMEW* record) {
  ++script.calls;
  script.fileRecord = *record;
  script.initialName = record->lpstrFile;
  if (script.confirm) std::wcscpy(record->lpstrFile, script.chosenPath);
  return script.confirm;
}

BOOL WINAPI FakeColourDialog(CHOOSECOLORW* request) {
  ++script.calls;
  script.colourRequest = *request;
  std::memcpy(script.customSeen, request->lpCustColors, sizeof script.customSeen);
  if (script.confirm) request->rgbResult = script.chosenColour;
  return script.confirm;
}

std::wstring FieldText(int id) {
  wchar_t text[512] = L"";
  GetDlgItemTextW(windowState.mainWindow, id, text, 512);
  return text;
}

void SetField(int id, const wchar_t* text) { SetDlgItemTextW(windowState.mainWindow, id, text); }

// The record sizes of the classic 32-bit records (a 64-bit build has wider ones).
constexpr DWORD FILE_RECORD_SIZE = sizeof(void*) == 4 ? 76 : 136;
constexpr DWORD COLOUR_REQUEST_SIZE = sizeof(void*) == 4 ? 36 : 72;

class WindowCommands : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { RegisterMainWindowClass(GetModuleHandleW(nullptr)); }

  void SetUp() override {
    windowState = WindowState{};
    windowState.dialogs = {FakeFileDialog, FakeFileDialog, FakeColourDialog};
    script = DialogScript{};
    ASSERT_NE(CreateMainWindow(GetModuleHandleW(nullptr)), nullptr);
    ASSERT_NE(windowState.mainWindow, nullptr);
  }

  void TearDown() override {
    DestroyWindow(windowState.mainWindow);
    MSG message;  // drop the WM_QUIT that destroying the window posts
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
  }
};

// ---------------------------------------------------------------------------------------------
// Browse commands

TEST_F(WindowCommands, OpenDialogGetsItsFiltersTitleAndFlags) {
  BrowseForSource(windowState);
  ASSERT_EQ(script.calls, 1);
  const OPENFILENAMEW& record = script.fileRecord;
  EXPECT_EQ(record.lStructSize, FILE_RECORD_SIZE);
  EXPECT_EQ(record.hwndOwner, windowState.mainWindow);
  const wchar_t filters[] =
      L"アスキーファイル(*.txt;*.htm;*html)\0*.txt;*.htm;*html\0"
      L"画像ファイル(*.jpg;*.jpeg;*.bmp;*.dib;*.gif;*.png)\0*.jpg;*.jpeg;*.bmp;*.dib;*.gif;*.png\0"
      L"すべてのファイル(*.*)\0*.*\0";
  EXPECT_EQ(std::wmemcmp(record.lpstrFilter, filters, std::size(filters)), 0);
  EXPECT_EQ(record.nFilterIndex, 1u);
  EXPECT_EQ(record.lpstrFile, windowState.fileNameBuffer);
  EXPECT_EQ(record.nMaxFile, 255u);
  EXPECT_STREQ(record.lpstrTitle, L"変換するファイル");
  EXPECT_EQ(record.Flags, 0x1000u);
  EXPECT_EQ(record.lpstrDefExt, nullptr);
  EXPECT_EQ(record.hInstance, nullptr);
  EXPECT_EQ(record.lpstrCustomFilter, nullptr);
  EXPECT_EQ(record.lpstrInitialDir, nullptr);
  EXPECT_EQ(record.lpfnHook, nullptr);
  EXPECT_EQ(record.lpTemplateName, nullptr);
}

TEST_F(WindowCommands, SaveDialogGetsItsFilterTitleAndDefaultExtension) {
  BrowseForTarget(windowState);
  ASSERT_EQ(script.calls, 1);
  const OPENFILENAMEW& record = script.fileRecord;
  EXPECT_EQ(record.lStructSize, FILE_RECORD_SIZE);
  EXPECT_EQ(record.hwndOwner, windowState.mainWindow);
  const wchar_t filters[] = L"Web ファイル(*.htm;*html)\0*.htm;*html\0";
  EXPECT_EQ(std::wmemcmp(record.lpstrFilter, filters, std::size(filters)), 0);
  EXPECT_EQ(record.nFilterIndex, 1u);
  EXPECT_EQ(record.nMaxFile, 255u);
  EXPECT_STREQ(record.lpstrTitle, L"変換したファイルの保存先");
  EXPECT_EQ(record.Flags, 0u);
  EXPECT_STREQ(record.lpstrDefExt, L"htm");
}

TEST_F(WindowCommands, ConfirmedBrowseFillsItsFieldAndEmptiesTheBuffer) {
  // A name code page 932 cannot spell is taken as it is; the create command refuses it.
  const wchar_t* const CHOSEN = L"C:\\フォルダ\\表☃.htm";
  const struct {
    void (*command)(WindowState&);
    int field;
    int otherField;
  } CASES[] = {{BrowseForSource, IDC_SOURCE_PATH, IDC_TARGET_PATH},
               {BrowseForTarget, IDC_TARGET_PATH, IDC_SOURCE_PATH}};
  for (const auto& c : CASES) {
    SetField(c.otherField, L"C:\\other.txt");
    script.chosenPath = CHOSEN;
    c.command(windowState);
    EXPECT_EQ(FieldText(c.field), CHOSEN);
    EXPECT_EQ(FieldText(c.otherField), L"C:\\other.txt");
    EXPECT_EQ(windowState.fileNameBuffer[0], L'\0');
  }
}

TEST_F(WindowCommands, CancelledBrowseKeepsFieldsAndBuffer) {
  for (auto command : {BrowseForSource, BrowseForTarget}) {
    SetField(IDC_SOURCE_PATH, L"C:\\in.txt");
    SetField(IDC_TARGET_PATH, L"C:\\out.htm");
    std::wcscpy(windowState.fileNameBuffer, L"C:\\dropped.txt");
    script.confirm = FALSE;
    command(windowState);
    EXPECT_EQ(FieldText(IDC_SOURCE_PATH), L"C:\\in.txt");
    EXPECT_EQ(FieldText(IDC_TARGET_PATH), L"C:\\out.htm");
    EXPECT_STREQ(windowState.fileNameBuffer, L"C:\\dropped.txt");
  }
}

TEST_F(WindowCommands, DroppedPathIsTheNextBrowseDialogsInitialName) {
  std::wcscpy(windowState.fileNameBuffer, L"C:\\dropped.txt");
  script.chosenPath = L"C:\\chosen.htm";
  BrowseForTarget(windowState);
  EXPECT_EQ(script.initialName, L"C:\\dropped.txt");
  BrowseForSource(windowState);
  EXPECT_EQ(script.initialName, L"");  // emptied by the successful browse
}

// ---------------------------------------------------------------------------------------------
// Colour commands

TEST_F(WindowCommands, ColourDialogStartsFromTheCurrentColourWithTheCustomColours) {
  windowState.bgColourRef = 0x00123456;
  ChooseBackgroundColour(windowState);
  ASSERT_EQ(script.calls, 1);
  const CHOOSECOLORW& request = script.colourRequest;
  EXPECT_EQ(request.lStructSize, COLOUR_REQUEST_SIZE);
  EXPECT_EQ(request.hwndOwner, windowState.mainWindow);
  EXPECT_EQ(request.rgbResult, 0x00123456u);
  EXPECT_EQ(request.lpCustColors, windowState.customColours);
  EXPECT_EQ(request.Flags, 1u);  // CC_RGBINIT only
  EXPECT_EQ(request.hInstance, nullptr);
  EXPECT_EQ(request.lpfnHook, nullptr);
  EXPECT_EQ(request.lpTemplateName, nullptr);
  for (COLORREF custom : script.customSeen) EXPECT_EQ(custom, 0x00FFFFFFu);

  ChooseTextColour(windowState);
  EXPECT_EQ(script.colourRequest.rgbResult, 0u);  // black at start
}

TEST_F(WindowCommands, ChosenColourShowsAsRedGreenBlueAndFillsItsCustomSlot) {
  const struct {
    void (*command)(WindowState&);
    COLORREF chosen;
    int textId;
    const wchar_t* shown;
    int slot;
  } CASES[] = {
      {ChooseBackgroundColour, 0x000000FF, IDC_BGCOLOR_TEXT, L"# FF0000", 7},
      {ChooseBackgroundColour, 0x00563412, IDC_BGCOLOR_TEXT, L"# 123456", 7},
      {ChooseTextColour, 0x000000FF, IDC_TEXTCOLOR_TEXT, L"# FF0000", 15},
      {ChooseTextColour, 0x00FF0000, IDC_TEXTCOLOR_TEXT, L"# 0000FF", 15},
      {ChooseTextColour, 0x0000AB00, IDC_TEXTCOLOR_TEXT, L"# 00AB00", 15},
  };
  for (const auto& c : CASES) {
    script.chosenColour = c.chosen;
    c.command(windowState);
    EXPECT_EQ(FieldText(c.textId), c.shown);
    EXPECT_EQ(windowState.customColours[c.slot], c.chosen);
  }
  EXPECT_EQ(windowState.bgColourRef, 0x00563412u);
  EXPECT_EQ(windowState.textColourRef, 0x0000AB00u);
  EXPECT_EQ(windowState.customColours[0], 0x00FFFFFFu);
  EXPECT_EQ(windowState.customColours[8], 0x00FFFFFFu);
}

TEST_F(WindowCommands, CancelledColourDialogChangesNothing) {
  script.confirm = FALSE;
  ChooseBackgroundColour(windowState);
  ChooseTextColour(windowState);
  EXPECT_EQ(FieldText(IDC_BGCOLOR_TEXT), L"# FFFFFF");
  EXPECT_EQ(FieldText(IDC_TEXTCOLOR_TEXT), L"# 000000");
  EXPECT_EQ(windowState.bgColourRef, 0x00FFFFFFu);
  EXPECT_EQ(windowState.textColourRef, 0u);
  EXPECT_EQ(windowState.customColours[7], 0x00FFFFFFu);
  EXPECT_EQ(windowState.customColours[15], 0x00FFFFFFu);
}

// A move to a monitor of twice the scale: both icons twice the system's sizes, and the
// rectangle the system suggests.
TEST_F(WindowCommands, AChangeOfScaleReloadsBothIconsAndTakesTheSuggestedRectangle) {
  const HWND window = windowState.mainWindow;
  const auto iconWidth = [window](WPARAM which) {
    ICONINFO info{};
    const auto icon = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, which, 0));
    if (!icon || !GetIconInfo(icon, &info)) return 0L;
    BITMAP bitmap{};
    GetObjectW(info.hbmColor, sizeof bitmap, &bitmap);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return bitmap.bmWidth;
  };
  const HDC screen = GetDC(nullptr);
  const int doubled = 2 * GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  RECT suggested{10, 20, 10 + 900, 20 + 700};
  SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(doubled, doubled),
               reinterpret_cast<LPARAM>(&suggested));
  RECT now{};
  GetWindowRect(window, &now);
  EXPECT_TRUE(EqualRect(&now, &suggested));
  EXPECT_EQ(iconWidth(ICON_BIG), 2 * GetSystemMetrics(SM_CXICON));
  EXPECT_EQ(iconWidth(ICON_SMALL), 2 * GetSystemMetrics(SM_CXSMICON));
}

// ---------------------------------------------------------------------------------------------
// The engine's message boxes

TEST(DialogUserInterface, QuestionsAskOkOrCancelProblemsWarnAndTheCompletionHasNoIcon) {
  const struct {
    Utterance said;
    UINT style;
  } CASES[] = {
      {Question::FixExtension, 0x31},  // MB_ICONWARNING | MB_OKCANCEL
      {Question::ReplacePage, 0x31},
      {Question::TargetFolderMissing, 0x31},
      {Report{Problem::EmptyName}, 0x30},  // MB_ICONWARNING, OK alone
      {Report{Problem::SourceMissing}, 0x30},
      {Report{Problem::SourceUnopenable}, 0x30},
      {Report{Problem::SamePath}, 0x30},
      {Report{Problem::ReservedCharacter}, 0x30},
      {Report{Problem::UnrepresentableName}, 0x30},
      {Report{Problem::TargetUnopenable}, 0x30},
      {Report{Problem::WriteFailed}, 0x30},
      {Report{Problem::ReadFailed}, 0x30},
      {Report{Problem::InvalidUtf8, 2}, 0x30},
      {Report{Problem::InvalidUtf16, 2}, 0x30},
      {Report{Problem::CopyFailed}, 0x30},
      {Report{Problem::OutOfMemory}, 0x30},
      {Completion{"C:\\page.htm"}, 0x00},  // MB_OK, no icon
  };
  for (const auto& c : CASES) {
    EXPECT_EQ(BoxStyle(WindowMessage(c.said)), c.style) << WindowMessage(c.said).text;
  }
}

}  // namespace
}  // namespace morvel::ui
