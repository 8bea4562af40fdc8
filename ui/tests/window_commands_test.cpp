// The browse and colour commands with the common dialogs replaced by stand-ins: what each
// command hands the dialog, and what it does with the answer. The real main dialog is opened
// from the program's own template, so the fields written are the real controls.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "ui/commands.h"
#include "ui/main_window.h"
#include "ui/resources/resource_ids.h"
#include "ui/window_state.h"

namespace morvel::ui {
namespace {

// What the stand-in dialogs saw and what they answer.
struct DialogScript {
  int calls = 0;
  OPENFILENAMEA fileRecord = {};
  std::string initialName;
  CHOOSECOLORA colourRequest = {};
  COLORREF customSeen[CUSTOM_COLOUR_COUNT] = {};
  BOOL confirm = TRUE;
  const char* chosenPath = "";
  COLORREF chosenColour = 0;
};
DialogScript script;

BOOL WINAPI FakeFileDialog(OPENFILENAMEA* record) {
  ++script.calls;
  script.fileRecord = *record;
  script.initialName = record->lpstrFile;
  if (script.confirm) std::strcpy(record->lpstrFile, script.chosenPath);
  return script.confirm;
}

BOOL WINAPI FakeColourDialog(CHOOSECOLORA* request) {
  ++script.calls;
  script.colourRequest = *request;
  std::memcpy(script.customSeen, request->lpCustColors, sizeof script.customSeen);
  if (script.confirm) request->rgbResult = script.chosenColour;
  return script.confirm;
}

std::string FieldText(int id) {
  char text[512] = "";
  GetDlgItemTextA(windowState.mainWindow, id, text, sizeof text);
  return text;
}

// The record sizes of the classic 32-bit records (a 64-bit build has wider ones).
constexpr DWORD FILE_RECORD_SIZE = sizeof(void*) == 4 ? 76 : 136;
constexpr DWORD COLOUR_REQUEST_SIZE = sizeof(void*) == 4 ? 36 : 72;

class WindowCommands : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { RegisterMainWindowClass(GetModuleHandleA(nullptr)); }

  void SetUp() override {
    windowState = WindowState{};
    windowState.dialogs = {FakeFileDialog, FakeFileDialog, FakeColourDialog};
    script = DialogScript{};
    ASSERT_NE(CreateMainWindow(GetModuleHandleA(nullptr)), nullptr);
    ASSERT_NE(windowState.mainWindow, nullptr);
  }

  void TearDown() override {
    DestroyWindow(windowState.mainWindow);
    MSG message;  // drop the WM_QUIT that destroying the window posts
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
  }
};

// ---------------------------------------------------------------------------------------------
// Browse commands

TEST_F(WindowCommands, OpenDialogGetsItsFiltersTitleAndFlags) {
  BrowseForSource(windowState);
  ASSERT_EQ(script.calls, 1);
  const OPENFILENAMEA& record = script.fileRecord;
  EXPECT_EQ(record.lStructSize, FILE_RECORD_SIZE);
  EXPECT_EQ(record.hwndOwner, windowState.mainWindow);
  const char filters[] =
      "アスキーファイル(*.txt;*.htm;*html)\0*.txt;*.htm;*html\0"
      "画像ファイル(*.jpg;*.jpeg;*.bmp;*.dib;*.gif;*.png)\0*.jpg;*.jpeg;*.bmp;*.dib;*.gif;*.png\0"
      "すべてのファイル(*.*)\0*.*\0";
  EXPECT_EQ(std::memcmp(record.lpstrFilter, filters, sizeof filters), 0);
  EXPECT_EQ(record.nFilterIndex, 1u);
  EXPECT_EQ(record.lpstrFile, windowState.fileNameBuffer);
  EXPECT_EQ(record.nMaxFile, 255u);
  EXPECT_STREQ(record.lpstrTitle, "変換するファイル");
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
  const OPENFILENAMEA& record = script.fileRecord;
  EXPECT_EQ(record.lStructSize, FILE_RECORD_SIZE);
  EXPECT_EQ(record.hwndOwner, windowState.mainWindow);
  const char filters[] = "Web ファイル(*.htm;*html)\0*.htm;*html\0";
  EXPECT_EQ(std::memcmp(record.lpstrFilter, filters, sizeof filters), 0);
  EXPECT_EQ(record.nFilterIndex, 1u);
  EXPECT_EQ(record.nMaxFile, 255u);
  EXPECT_STREQ(record.lpstrTitle, "変換したファイルの保存先");
  EXPECT_EQ(record.Flags, 0u);
  EXPECT_STREQ(record.lpstrDefExt, "htm");
}

TEST_F(WindowCommands, ConfirmedBrowseFillsItsFieldAndEmptiesTheBuffer) {
  const struct {
    void (*command)(WindowState&);
    int field;
    int otherField;
  } CASES[] = {{BrowseForSource, IDC_SOURCE_PATH, IDC_TARGET_PATH},
               {BrowseForTarget, IDC_TARGET_PATH, IDC_SOURCE_PATH}};
  for (const auto& c : CASES) {
    SetDlgItemTextA(windowState.mainWindow, c.otherField, "C:\\other.txt");
    script.chosenPath = "C:\\フォルダ\\表.htm";
    c.command(windowState);
    EXPECT_EQ(FieldText(c.field), "C:\\フォルダ\\表.htm");
    EXPECT_EQ(FieldText(c.otherField), "C:\\other.txt");
    EXPECT_EQ(windowState.fileNameBuffer[0], '\0');
  }
}

TEST_F(WindowCommands, CancelledBrowseKeepsFieldsAndBuffer) {
  for (auto command : {BrowseForSource, BrowseForTarget}) {
    SetDlgItemTextA(windowState.mainWindow, IDC_SOURCE_PATH, "C:\\in.txt");
    SetDlgItemTextA(windowState.mainWindow, IDC_TARGET_PATH, "C:\\out.htm");
    std::strcpy(windowState.fileNameBuffer, "C:\\dropped.txt");
    script.confirm = FALSE;
    command(windowState);
    EXPECT_EQ(FieldText(IDC_SOURCE_PATH), "C:\\in.txt");
    EXPECT_EQ(FieldText(IDC_TARGET_PATH), "C:\\out.htm");
    EXPECT_STREQ(windowState.fileNameBuffer, "C:\\dropped.txt");
  }
}

TEST_F(WindowCommands, DroppedPathIsTheNextBrowseDialogsInitialName) {
  std::strcpy(windowState.fileNameBuffer, "C:\\dropped.txt");
  script.chosenPath = "C:\\chosen.htm";
  BrowseForTarget(windowState);
  EXPECT_EQ(script.initialName, "C:\\dropped.txt");
  BrowseForSource(windowState);
  EXPECT_EQ(script.initialName, "");  // emptied by the successful browse
}

// ---------------------------------------------------------------------------------------------
// Colour commands

TEST_F(WindowCommands, ColourDialogStartsFromTheCurrentColourWithTheCustomColours) {
  windowState.bgColourRef = 0x00123456;
  ChooseBackgroundColour(windowState);
  ASSERT_EQ(script.calls, 1);
  const CHOOSECOLORA& request = script.colourRequest;
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
    const char* shown;
    int slot;
  } CASES[] = {
      {ChooseBackgroundColour, 0x000000FF, IDC_BGCOLOR_TEXT, "# FF0000", 7},
      {ChooseBackgroundColour, 0x00563412, IDC_BGCOLOR_TEXT, "# 123456", 7},
      {ChooseTextColour, 0x000000FF, IDC_TEXTCOLOR_TEXT, "# FF0000", 15},
      {ChooseTextColour, 0x00FF0000, IDC_TEXTCOLOR_TEXT, "# 0000FF", 15},
      {ChooseTextColour, 0x0000AB00, IDC_TEXTCOLOR_TEXT, "# 00AB00", 15},
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
  EXPECT_EQ(FieldText(IDC_BGCOLOR_TEXT), "# FFFFFF");
  EXPECT_EQ(FieldText(IDC_TEXTCOLOR_TEXT), "# 000000");
  EXPECT_EQ(windowState.bgColourRef, 0x00FFFFFFu);
  EXPECT_EQ(windowState.textColourRef, 0u);
  EXPECT_EQ(windowState.customColours[7], 0x00FFFFFFu);
  EXPECT_EQ(windowState.customColours[15], 0x00FFFFFFu);
}

TEST(SwapRedBlue, TurnsBlueGreenRedIntoRedGreenBlue) {
  const struct {
    const char* in;
    const char* out;
  } CASES[] = {{"563412", "123456"}, {"0000FF", "FF0000"}, {"ABCDEF", "EFCDAB"}};
  for (const auto& c : CASES) {
    char digits[7];
    std::strcpy(digits, c.in);
    SwapRedBlue(digits);
    EXPECT_STREQ(digits, c.out);
  }
}

}  // namespace
}  // namespace morvel::ui
