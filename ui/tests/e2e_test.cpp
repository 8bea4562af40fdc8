// End-to-end tests: MORVEL.exe started as a separate process and used through its window.
// They run twice: under a Japanese locale (ANSI code page 932) and under an English one (1252),
// where the window must show and do exactly the same.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "tests/support/without_date.h"
#include "ui/resources/resource_ids.h"
#include "ui/tests/window_driver.h"

namespace morvel::e2e {
namespace {

// ---------------------------------------------------------------------------------------------
// Files

std::string ReadFileBytes(const std::string& path) {
  const HANDLE file = CreateFileW(FromCodePage932(path).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                  nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "";
  std::string bytes;
  char buffer[4096];
  DWORD count = 0;
  while (ReadFile(file, buffer, sizeof buffer, &count, nullptr) && count > 0) {
    bytes.append(buffer, count);
  }
  CloseHandle(file);
  return bytes;
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
  const HANDLE file =
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  WriteFileBytes(FromCodePage932(path), bytes);
}

bool FileExists(const std::string& path) {
  return GetFileAttributesW(FromCodePage932(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A fresh folder per test under the temporary folder, emptied afterwards.
std::string MakeWorkFolder() {
  static int counter = 0;
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string folder = std::string(temp) + "morvel-e2e-" +
                             std::to_string(GetCurrentProcessId()) + "-" +
                             std::to_string(++counter) + "\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

// The names in a folder that match `pattern`, "." and ".." left out.
std::vector<std::wstring> NamesIn(const std::string& folder, const wchar_t* pattern) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW entry;
  HANDLE find = FindFirstFileW((FromCodePage932(folder) + pattern).c_str(), &entry);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = entry.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (FindNextFileW(find, &entry));
  FindClose(find);
  return names;
}

void RemoveWorkFolder(const std::string& folder) {
  for (const std::wstring& name : NamesIn(folder, L"*")) {
    DeleteFileW((FromCodePage932(folder) + name).c_str());
  }
  RemoveDirectoryA(folder.c_str());
}

// ---------------------------------------------------------------------------------------------
// The program, started afresh for every test

class MorvelWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = MakeWorkFolder();
    ASSERT_TRUE(app_.Launch(FolderOfThisProgram() + "MORVEL.exe", folder_));
    window_ = WaitForWindow(app_, "MORVEL");
    ASSERT_NE(window_, nullptr) << "the main window did not appear";
  }
  void TearDown() override { RemoveWorkFolder(folder_); }

  std::string Path(const std::string& name) const { return folder_ + name; }
  std::wstring Path(const std::wstring& name) const { return FromCodePage932(folder_) + name; }

  // Sets both paths and presses the create button.
  void Create(const std::string& source, const std::string& target) {
    SetText(window_, IDC_SOURCE_PATH, source);
    SetText(window_, IDC_TARGET_PATH, target);
    Click(window_, IDOK);
  }

  // Waits for the next message box and checks its caption and text.
  MessageBoxSeen ExpectBox(const std::string& caption, const std::string& text) {
    MessageBoxSeen box = WaitForMessageBox(app_);
    EXPECT_NE(box.window, nullptr) << "no message box appeared";
    EXPECT_EQ(box.caption, caption);
    EXPECT_EQ(box.text, text);
    return box;
  }

  void ExpectBoxAndAnswer(const std::string& caption, const std::string& text, int button) {
    MessageBoxSeen box = ExpectBox(caption, text);
    if (box.window) {
      EXPECT_TRUE(Answer(box, button));
    }
  }

  // True when no message box shows up within a short while.
  bool NoBoxAppears() {
    Sleep(150);
    return TopWindows(app_.Id(), "#32770").empty();
  }

  RunningApp app_;
  HWND window_ = nullptr;
  std::string folder_;
};

constexpr int ON = BST_CHECKED;
constexpr int OFF = BST_UNCHECKED;

// ---------------------------------------------------------------------------------------------
// Start-up

// The second run must really be under another ANSI code page, and the window must be Unicode.
TEST_F(MorvelWindow, RunsAsAUnicodeWindowUnderTheCodePageOfItsLocale) {
  const char* locale = std::getenv("MORVEL_WINE_LOCALE");
  const bool japanese = !locale || std::string(locale).starts_with("ja_JP");
  EXPECT_EQ(GetACP() == 932, japanese) << GetACP();
  EXPECT_TRUE(IsWindowUnicode(window_));
}

TEST_F(MorvelWindow, StartsWithTheDefaultsCentredAndWithTheCaption) {
  EXPECT_EQ(TextOf(window_), "MORVEL ver 1.3");
  EXPECT_EQ(TextOf(window_, IDC_SOURCE_PATH), "");
  EXPECT_EQ(TextOf(window_, IDC_TARGET_PATH), "");
  EXPECT_EQ(TextOf(window_, IDC_TITLE), "");
  EXPECT_EQ(TextOf(window_, IDC_BORDER), "0");
  EXPECT_EQ(TextOf(window_, IDC_BGCOLOR_TEXT), "# FFFFFF");
  EXPECT_EQ(TextOf(window_, IDC_TEXTCOLOR_TEXT), "# 000000");

  const struct {
    int id;
    int state;
  } CHECKS[] = {{IDC_STAMP, ON},    {IDC_STAMP_KANJI, ON}, {IDC_STAMP_NUMERIC, OFF},
                {IDC_AUTOLINK, ON}, {IDC_ESCAPE, ON},      {IDC_LINETAGS, ON},
                {IDC_TAGS_BR, OFF}, {IDC_TAGS_BR_P, ON}};
  for (const auto& check : CHECKS) {
    EXPECT_EQ(CheckState(window_, check.id), check.state) << "control " << check.id;
    EXPECT_TRUE(IsEnabled(window_, check.id)) << "control " << check.id;
  }

  // The desktop is 1024 x 768: left = 512 - width / 2, top = 384 - height / 2.
  RECT rect;
  GetWindowRect(window_, &rect);
  EXPECT_EQ(rect.left, 512 - (rect.right - rect.left) / 2);
  EXPECT_EQ(rect.top, 384 - (rect.bottom - rect.top) / 2);
  EXPECT_NE(GetMenu(window_), nullptr);

  // No control has the keyboard focus at start.
  GUITHREADINFO thread = {};
  thread.cbSize = sizeof thread;
  ASSERT_TRUE(GetGUIThreadInfo(GetWindowThreadProcessId(window_, nullptr), &thread));
  EXPECT_TRUE(thread.hwndFocus == nullptr || thread.hwndFocus == window_) << thread.hwndFocus;
}

// The controls in creation order: id, window class, text and the styles that matter.
TEST_F(MorvelWindow, HasTheTwentyEightControlsInTemplateOrder) {
  constexpr DWORD TAB = WS_TABSTOP;
  constexpr DWORD GROUP = WS_GROUP;
  const struct {
    int id;
    const char* className;
    const char* text;
    DWORD styles;  // all of these must be set
    DWORD kind;    // the low style bits: the button or static kind
  } CONTROLS[] = {
      {1, "Button", "作成", TAB, BS_PUSHBUTTON},
      {1000, "Edit", "", TAB | WS_BORDER | ES_AUTOHSCROLL, 0},
      {1002, "Button", "参照", TAB, BS_PUSHBUTTON},
      {2, "Button", "終了", TAB, BS_PUSHBUTTON},
      {0xFFFF, "Static", "変換するファイル名", GROUP, SS_LEFT},
      {1001, "Edit", "", TAB | WS_BORDER | ES_AUTOHSCROLL, 0},
      {0xFFFF, "Static", "作成するファイル名", GROUP, SS_LEFT},
      {1004, "Button", "参照", TAB, BS_PUSHBUTTON},
      {0xFFFF, "Button", "入出力ファイル", 0, BS_GROUPBOX},
      {1013, "Button", "更新日", TAB, BS_AUTOCHECKBOX},
      {1014, "Button", "自動リンク", TAB, BS_AUTOCHECKBOX},
      {1015, "Button", "改行タグ", TAB, BS_AUTOCHECKBOX},
      {0xFFFF, "Button", "設定", 0, BS_GROUPBOX},
      {1018, "Button", "年月日　時分", GROUP, BS_AUTORADIOBUTTON},
      {1019, "Button", "xxxx　xx/xx　xx:xx", 0, BS_AUTORADIOBUTTON},
      {1021, "Edit", "0", TAB | WS_BORDER | ES_AUTOHSCROLL | ES_NUMBER, 0},
      {0xFFFF, "Static", "画像の枠", GROUP, SS_LEFT},
      {0xFFFF, "Static", "px", GROUP, SS_LEFT},
      {1020, "Button", "特殊文字変換 && \" < >", TAB, BS_AUTOCHECKBOX},
      {0xFFFF, "Button", "画像を入力時のみ", 0, BS_GROUPBOX},
      {1016, "Button", "<BR>&&<P>", 0, BS_AUTORADIOBUTTON},
      {1017, "Button", "<BR>", 0, BS_AUTORADIOBUTTON},
      {1024, "Button", "バックカラー", TAB, BS_PUSHBUTTON},
      {1029, "Static", "# FFFFFF", GROUP, SS_LEFT},
      {1025, "Button", "文字カラー", TAB, BS_PUSHBUTTON},
      {1030, "Static", "# 000000", GROUP, SS_LEFT},
      {1037, "Edit", "", TAB | WS_BORDER | ES_AUTOHSCROLL, 0},
      {0xFFFF, "Static", "ページタイトル", GROUP, SS_LEFT},
  };
  HWND control = GetWindow(window_, GW_CHILD);
  for (const auto& expected : CONTROLS) {
    ASSERT_NE(control, nullptr) << "missing control " << expected.text;
    DWORD style = static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE));
    // An edit field trades its template border for the sunken client edge when it is created.
    if (GetWindowLongA(control, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) style |= WS_BORDER;
    EXPECT_EQ(GetDlgCtrlID(control) & 0xFFFF, expected.id) << expected.text;
    EXPECT_STRCASEEQ(ClassOf(control).c_str(), expected.className) << expected.text;
    EXPECT_EQ(TextOf(control), expected.text);
    EXPECT_EQ(style & expected.styles, expected.styles) << expected.text;
    EXPECT_EQ(style & 0xF, expected.kind) << expected.text;
    EXPECT_TRUE(style & WS_VISIBLE) << expected.text;
    // Only the listed controls are tab stops or start a group. A radio button is a tab stop
    // exactly while it is selected, which its button control arranges by itself.
    const DWORD owned = expected.kind == BS_AUTORADIOBUTTON ? GROUP : (TAB | GROUP);
    EXPECT_EQ(style & owned, expected.styles & owned) << expected.text;
    control = GetWindow(control, GW_HWNDNEXT);
  }
  EXPECT_EQ(control, nullptr) << "more than 28 controls";
  EXPECT_TRUE(GetWindowLongA(GetDlgItem(window_, IDC_BORDER), GWL_EXSTYLE) & WS_EX_RIGHT);
}

// The menu is read from the program's resources: menus cannot be read across processes.
TEST_F(MorvelWindow, MenuHasFileExitAndAbout) {
  HMODULE exe = LoadLibraryExA((FolderOfThisProgram() + "MORVEL.exe").c_str(), nullptr,
                               LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(exe, nullptr);
  HMENU menu = LoadMenuW(exe, MAKEINTRESOURCEW(IDR_MAINMENU));
  ASSERT_NE(menu, nullptr);
  auto textAt = [](HMENU owner, UINT position) {
    wchar_t text[64] = L"";
    GetMenuStringW(owner, position, text, 64, MF_BYPOSITION);
    return ToCodePage932(text);
  };
  ASSERT_EQ(GetMenuItemCount(menu), 2);
  EXPECT_EQ(textAt(menu, 0), "ファイル");
  HMENU file = GetSubMenu(menu, 0);
  ASSERT_NE(file, nullptr);
  ASSERT_EQ(GetMenuItemCount(file), 1);
  EXPECT_EQ(textAt(file, 0), "終了");
  EXPECT_EQ(GetMenuItemID(file, 0), 2u);
  EXPECT_EQ(textAt(menu, 1), "バージョン情報");
  EXPECT_EQ(GetMenuItemID(menu, 1), 40004u);
  EXPECT_EQ(GetSubMenu(menu, 1), nullptr);
  DestroyMenu(menu);
  FreeLibrary(exe);
}

// Resource 1 of type 24 is the manifest Windows reads when a program starts.
TEST(Programs, CarryTheApplicationManifest) {
  for (const char* program : {"MORVEL.exe", "..\\cli\\morvel-convert.exe"}) {
    HMODULE exe = LoadLibraryExA((FolderOfThisProgram() + program).c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(exe, nullptr) << program;
    HRSRC found = FindResourceW(exe, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    ASSERT_NE(found, nullptr) << program;
    const std::string manifest(static_cast<const char*>(LockResource(LoadResource(exe, found))),
                               SizeofResource(exe, found));
    for (const char* setting : {
             "level=\"asInvoker\"",
             "<supportedOS Id=\"{e2011457-1546-43c5-a5fe-008deee3d3f0}\"/>",  // Vista
             "<supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>",  // 10 and 11
             ">true</dpiAware>",
             ">PerMonitorV2, System</dpiAwareness>",
             ">true</longPathAware>",
             "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
         }) {
      EXPECT_NE(manifest.find(setting), std::string::npos) << program << ": " << setting;
    }
    FreeLibrary(exe);
  }
}

// The version resource that Explorer shows under Properties > Details: its numbers, and the
// same texts in the Japanese block and the English one.
TEST(Programs, CarryTheirVersionInJapaneseAndEnglish) {
  for (const std::wstring name : {L"MORVEL", L"morvel-convert"}) {
    const std::wstring path = FromCodePage932(FolderOfThisProgram()) +
                              (name == L"MORVEL" ? L"" : L"..\\cli\\") + name + L".exe";
    std::vector<char> info(GetFileVersionInfoSizeW(path.c_str(), nullptr));
    ASSERT_FALSE(info.empty()) << path;
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(info.size()), info.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010003u);  // 1.3
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);           // .0.0
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010003u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);
    WORD* translations = nullptr;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translations), &length));
    ASSERT_EQ(length, 8u) << "two blocks";
    EXPECT_EQ(translations[0], 0x0411);  // Japanese first
    EXPECT_EQ(translations[1], 1200);    // UTF-16
    const struct {
      const wchar_t* key;
      std::wstring value;  // empty: any text but an empty one
    } expected[] = {
        {L"ProductName", L"MORVEL"},
        {L"ProductVersion", L"1.3.0.0"},
        {L"FileVersion", L"1.3.0.0"},
        {L"InternalName", name},
        {L"OriginalFilename", name + L".exe"},
        {L"FileDescription", L""},
        {L"CompanyName", L""},
        {L"LegalCopyright", L""},
    };
    for (const wchar_t* block : {L"041104B0", L"040904B0"}) {
      for (const auto& [key, value] : expected) {
        const std::wstring query = std::wstring(L"\\StringFileInfo\\") + block + L"\\" + key;
        wchar_t* text = nullptr;
        ASSERT_TRUE(
            VerQueryValueW(info.data(), query.c_str(), reinterpret_cast<void**>(&text), &length))
            << ToCodePage932(query);
        if (value.empty()) {
          EXPECT_GT(std::wcslen(text), 0u) << ToCodePage932(query);
        } else {
          EXPECT_EQ(std::wstring(text), value) << ToCodePage932(query);
        }
      }
    }
  }
}

// One image for every size Windows asks for, from 16 pixels (small icons at 100 %) to 256
// (Explorer's extra large view), all 32-bit; the 256-pixel one is stored as PNG.
TEST(Programs, MorvelIconHasAnImageForEverySize) {
#pragma pack(push, 2)
  struct GroupEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
  };
#pragma pack(pop)
  HMODULE exe = LoadLibraryExA((FolderOfThisProgram() + "MORVEL.exe").c_str(), nullptr,
                               LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(exe, nullptr);
  auto resource = [exe](LPCWSTR id, LPCWSTR type) {
    HRSRC found = FindResourceW(exe, id, type);
    return found ? std::string(static_cast<const char*>(LockResource(LoadResource(exe, found))),
                               SizeofResource(exe, found))
                 : std::string();
  };
  const std::string group = resource(MAKEINTRESOURCEW(IDI_MAIN), MAKEINTRESOURCEW(14));
  ASSERT_GE(group.size(), 6u);
  const WORD count = *reinterpret_cast<const WORD*>(group.data() + 4);
  ASSERT_EQ(group.size(), 6 + count * sizeof(GroupEntry));
  std::vector<int> sizes;
  for (WORD i = 0; i < count; ++i) {
    GroupEntry entry;
    std::memcpy(&entry, group.data() + 6 + i * sizeof entry, sizeof entry);
    const int size = entry.width == 0 ? 256 : entry.width;
    sizes.push_back(size);
    EXPECT_EQ(entry.height, entry.width);
    EXPECT_EQ(entry.bitCount, 32) << size;
    const std::string image = resource(MAKEINTRESOURCEW(entry.id), MAKEINTRESOURCEW(3));
    ASSERT_EQ(image.size(), entry.bytes) << size;
    if (size == 256) {
      EXPECT_EQ(image.substr(0, 8), "\x89PNG\r\n\x1a\n");
    } else {
      BITMAPINFOHEADER header;
      std::memcpy(&header, image.data(), sizeof header);
      EXPECT_EQ(header.biWidth, size);
      EXPECT_EQ(header.biHeight, 2 * size);  // the colours and the mask
      EXPECT_EQ(header.biBitCount, 32);
    }
  }
  EXPECT_EQ(sizes, (std::vector<int>{16, 20, 24, 32, 40, 48, 64, 256}));
  FreeLibrary(exe);
}

// The window registers the common controls it uses when it starts: MORVEL.exe imports
// InitCommonControlsEx (the window's start itself is the end-to-end tests' first step).
TEST(Programs, MorvelInitialisesTheCommonControls) {
  const std::string program = ReadFileBytes(FolderOfThisProgram() + "MORVEL.exe");
  ASSERT_FALSE(program.empty());
  // The import's name as the loader reads it: the function's name after its two-byte hint.
  EXPECT_NE(program.find(std::string("InitCommonControlsEx\0", 21)), std::string::npos);
  std::string lower(program.size(), '\0');
  std::transform(program.begin(), program.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  EXPECT_NE(lower.find(std::string("comctl32.dll\0", 13)), std::string::npos);
}

// ---------------------------------------------------------------------------------------------
// Check boxes and radio buttons

TEST_F(MorvelWindow, EachCheckBoxEnablesItsOwnRadioPairAndKeepsTheirSelection) {
  const struct {
    int checkBox;
    int first;
    int second;
    int otherPair;
  } RULES[] = {{IDC_STAMP, IDC_STAMP_KANJI, IDC_STAMP_NUMERIC, IDC_TAGS_BR},
               {IDC_LINETAGS, IDC_TAGS_BR, IDC_TAGS_BR_P, IDC_STAMP_KANJI}};
  for (const auto& rule : RULES) {
    const int firstState = CheckState(window_, rule.first);
    Click(window_, rule.checkBox);
    EXPECT_TRUE(WaitUntil([&] {
      return !IsEnabled(window_, rule.first) && !IsEnabled(window_, rule.second);
    })) << rule.checkBox;
    EXPECT_EQ(CheckState(window_, rule.checkBox), OFF);
    EXPECT_EQ(CheckState(window_, rule.first), firstState);
    EXPECT_TRUE(IsEnabled(window_, rule.otherPair));
    Click(window_, rule.checkBox);
    EXPECT_TRUE(WaitUntil([&] {
      return IsEnabled(window_, rule.first) && IsEnabled(window_, rule.second);
    })) << rule.checkBox;
    EXPECT_EQ(CheckState(window_, rule.checkBox), ON);
  }
  // The other two check boxes only toggle themselves.
  for (int id : {IDC_AUTOLINK, IDC_ESCAPE}) {
    Click(window_, id);
    EXPECT_TRUE(WaitUntil([&] { return CheckState(window_, id) == OFF; })) << id;
  }
}

TEST_F(MorvelWindow, RadioPairsAreIndependentGroups) {
  Click(window_, IDC_TAGS_BR);
  EXPECT_TRUE(WaitUntil([&] { return CheckState(window_, IDC_TAGS_BR) == ON; }));
  EXPECT_EQ(CheckState(window_, IDC_TAGS_BR_P), OFF);
  EXPECT_EQ(CheckState(window_, IDC_STAMP_KANJI), ON);
  EXPECT_EQ(CheckState(window_, IDC_STAMP_NUMERIC), OFF);

  Click(window_, IDC_STAMP_NUMERIC);
  EXPECT_TRUE(WaitUntil([&] { return CheckState(window_, IDC_STAMP_NUMERIC) == ON; }));
  EXPECT_EQ(CheckState(window_, IDC_STAMP_KANJI), OFF);
  EXPECT_EQ(CheckState(window_, IDC_TAGS_BR), ON);
  EXPECT_EQ(CheckState(window_, IDC_TAGS_BR_P), OFF);
}

// ---------------------------------------------------------------------------------------------
// Conversions and the engine's boxes

TEST_F(MorvelWindow, CreateWithAllDefaultsAsksForTheFileNames) {
  Click(window_, IDOK);
  ExpectBoxAndAnswer("MORVEL", "ファイル名を入れてください。", IDOK);
  EXPECT_TRUE(NoBoxAppears());
  EXPECT_TRUE(IsWindow(window_));
}

TEST_F(MorvelWindow, EnterInATextFieldCreates) {
  PressKey(window_, IDC_TITLE, VK_RETURN);
  ExpectBoxAndAnswer("MORVEL", "ファイル名を入れてください。", IDOK);
}

// Japanese names, "表" and "ソ" among them (second byte 0x5C), on every system language.
TEST_F(MorvelWindow, ConvertsATextFileWithTheDefaults) {
  WriteFileBytes(Path("料金表.txt"), "first line\r\nsecond line\r\n");
  Create(Path("料金表.txt"), Path("ソース表.htm"));
  ExpectBoxAndAnswer("完了", Path("ソース表.htm") + "が作成できました。", IDOK);

  const std::string page = ReadFileBytes(Path("ソース表.htm"));
  const std::string head =
      "<!--MORVEL1.3-->\r\n<HTML><HEAD><TITLE></TITLE></HEAD>\r\n"
      "<BODY bgcolor=\"FFFFFF\" text=\"000000\">\r\n"
      "<TABLE border=\"1\" align=\"right\">\r\n<TR><TD>\r\n"
      "<SPAN style=\"font-size:10px\">更新日　";
  EXPECT_EQ(page.substr(0, head.size()), head);
  EXPECT_NE(page.find("年"), std::string::npos);  // the kanji date style
  EXPECT_NE(page.find("first line"), std::string::npos);
  EXPECT_NE(page.find("second line"), std::string::npos);
  const std::string footer = "\r\n</BODY>\r\n</HTML>";
  ASSERT_GT(page.size(), footer.size());
  EXPECT_EQ(page.substr(page.size() - footer.size()), footer);
}

TEST_F(MorvelWindow, ConvertsATextFileWithEverySwitchChanged) {
  WriteFileBytes(Path("in.txt"), "a < b & http://x.example/\r\n\r\nline\r\n");
  SetText(window_, IDC_TITLE, "題名");
  SetText(window_, IDC_BORDER, "7");
  for (int id :
       {IDC_STAMP_NUMERIC, IDC_STAMP, IDC_AUTOLINK, IDC_TAGS_BR, IDC_LINETAGS, IDC_ESCAPE}) {
    Click(window_, id);
  }
  ASSERT_TRUE(WaitUntil([&] { return CheckState(window_, IDC_ESCAPE) == OFF; }));
  Create(Path("in.txt"), Path("page.htm"));
  ExpectBoxAndAnswer("完了", Path("page.htm") + "が作成できました。", IDOK);

  EXPECT_EQ(ReadFileBytes(Path("page.htm")),
            "<!--MORVEL1.3-->\r\n<HTML><HEAD><TITLE>題名</TITLE></HEAD>\r\n"
            "<BODY bgcolor=\"FFFFFF\" text=\"000000\">\r\n"
            "a < b & http://x.example/\r\n\r\nline\r\n"
            "\r\n</BODY>\r\n</HTML>");
}

using morvel::testing::WithoutDate;

// UTF-8 and UTF-16 bytes, whatever the execution character set of this file.
std::string Utf8Bytes(std::u8string_view text) { return std::string(text.begin(), text.end()); }

std::string Utf16Bytes(std::u16string_view text, bool bigEndian) {
  std::string bytes;
  for (const char16_t unit : text) {
    const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
    bytes += bigEndian ? std::string{high, low} : std::string{low, high};
  }
  return bytes;
}

// Text as today's editors save it: each encoding gives the same UTF-8 page, which declares
// itself, with every character as itself (the snowman too, which code page 932 lacks).
TEST_F(MorvelWindow, UnicodeTextGivesAUtf8PageThatDeclaresItself) {
  const std::u8string_view utf8 = u8"雪☃ a&b\thttp://x.jp/☃y\r\n";
  const std::u16string_view utf16 = u"\uFEFF雪☃ a&b\thttp://x.jp/☃y\r\n";
  const struct {
    const char* encoding;
    std::string bytes;
  } texts[] = {
      {"UTF-8", Utf8Bytes(utf8)},
      {"UTF-8 with a mark", "\xEF\xBB\xBF" + Utf8Bytes(utf8)},
      {"UTF-16LE", Utf16Bytes(utf16, false)},
      {"UTF-16BE", Utf16Bytes(utf16, true)},
  };
  const std::string expected = Utf8Bytes(
      u8"<!--MORVEL1.3-->\r\n<HTML><HEAD><META charset=\"UTF-8\"><META name=\"viewport\" "
      u8"content=\"width=device-width, initial-scale=1\"><TITLE></TITLE></HEAD>\r\n"
      u8"<BODY bgcolor=\"FFFFFF\" text=\"000000\">\r\n"
      u8"\r\n雪☃ a&amp;b"
      u8"\u3000\u3000\u3000\u3000\u3000\u3000"
      u8"<A href=\"http://x.jp/\">http://x.jp/</A>☃y"
      u8"\r\n</BODY>\r\n</HTML>");
  Click(window_, IDC_STAMP);
  ASSERT_TRUE(WaitUntil([&] { return CheckState(window_, IDC_STAMP) == OFF; }));
  int number = 0;
  for (const auto& text : texts) {
    const std::string page = "page" + std::to_string(++number) + ".htm";
    WriteFileBytes(Path("in.txt"), text.bytes);
    Create(Path("in.txt"), Path(page));
    ExpectBoxAndAnswer("完了", Path(page) + "が作成できました。", IDOK);
    EXPECT_EQ(ReadFileBytes(Path(page)), expected) << text.encoding;
  }
}

// Bytes UTF-8 does not allow after a UTF-8 mark: the box names the line, and the old page
// stays as it was.
TEST_F(MorvelWindow, BadBytesAfterAUtf8MarkKeepTheOldPage) {
  WriteFileBytes(Path("in.txt"),
                 "\xEF\xBB\xBF"
                 "fine\r\nbad \xC3\x28\r\n");
  WriteFileBytes(Path("page.htm"), "old");
  Create(Path("in.txt"), Path("page.htm"));
  ExpectBoxAndAnswer("上書き", "このファイルはすでに存在しています。\n上書きしてもよろしいですか？",
                     IDOK);
  ExpectBoxAndAnswer(
      "MORVEL",
      "ファイルの読み込みに失敗しました。\n2行目に UTF-8 として正しくないバイトがあります。", IDOK);
  EXPECT_EQ(ReadFileBytes(Path("page.htm")), "old");
  EXPECT_EQ(NamesIn(folder_, L"*").size(), 2u);  // no temporary page left beside it
}

// The command-line converter built beside the window.
std::string ConverterPath() { return FolderOfThisProgram() + "..\\cli\\morvel-convert.exe"; }

// Runs the command-line converter built beside the window and returns its exit code.
DWORD RunConverter(const std::wstring& arguments, const std::string& folder) {
  const std::wstring exe = FromCodePage932(ConverterPath());
  std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                      nullptr, FromCodePage932(folder).c_str(), &startup, &process)) {
    return 0xFFFFFFFF;
  }
  WaitForSingleObject(process.hProcess, 30000);
  DWORD code = 0xFFFFFFFF;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  return code;
}

// The title's "☃", "é" and Korean syllable have no code page 932 form: both programs write them
// as numeric character references.
TEST_F(MorvelWindow, CommandLineConverterWritesTheSamePageForTheSameSettings) {
  WriteFileBytes(Path("in.txt"),
                 "表示\tタブ & <記号> \"引用\"\r\nhttp://example.com/ です。\r\n\r\n段落\r\n");
  const std::wstring title = L"表題 & 題☃ Café 한";
  SetText(window_, IDC_TITLE, title);
  for (int id : {IDC_STAMP_NUMERIC, IDC_TAGS_BR, IDC_AUTOLINK}) Click(window_, id);
  ASSERT_TRUE(WaitUntil([&] { return CheckState(window_, IDC_AUTOLINK) == OFF; }));
  Create(Path("in.txt"), Path("window.htm"));
  ExpectBoxAndAnswer("完了", Path("window.htm") + "が作成できました。", IDOK);

  EXPECT_EQ(RunConverter(L"-q --title \"" + title +
                             L"\" --stamp numeric --tags br --no-links in.txt cli.htm",
                         folder_),
            0u);
  const std::string windowPage = ReadFileBytes(Path("window.htm"));
  ASSERT_NE(windowPage.find("<TITLE>表題 & 題&#9731; Caf&#233; &#54620;</TITLE>"),
            std::string::npos)
      << windowPage;
  EXPECT_EQ(WithoutDate(ReadFileBytes(Path("cli.htm"))), WithoutDate(windowPage));
}

TEST_F(MorvelWindow, ExtensionQuestionOkCorrectsTheField) {
  WriteFileBytes(Path("in.txt"), "x\r\n");
  Create(Path("in.txt"), Path("page.txt"));
  ExpectBoxAndAnswer("拡張子エラー",
                     "出力先ファイルの拡張子がhtmではありません\n"
                     "拡張子をhtmにして出力しますよろしいですか？",
                     IDOK);
  ExpectBoxAndAnswer("完了", Path("page.htm") + "が作成できました。", IDOK);
  EXPECT_EQ(TextOf(window_, IDC_TARGET_PATH), Path("page.htm"));
  EXPECT_TRUE(FileExists(Path("page.htm")));
  EXPECT_FALSE(FileExists(Path("page.txt")));
}

TEST_F(MorvelWindow, ExtensionQuestionCancelChangesNothing) {
  WriteFileBytes(Path("in.txt"), "x\r\n");
  Create(Path("in.txt"), Path("page"));
  MessageBoxSeen box = ExpectBox("拡張子エラー",
                                 "出力先ファイルの拡張子がhtmではありません\n"
                                 "拡張子をhtmにして出力しますよろしいですか？");
  ASSERT_TRUE(Answer(box, IDCANCEL));
  EXPECT_TRUE(NoBoxAppears());
  EXPECT_EQ(TextOf(window_, IDC_TARGET_PATH), Path("page"));
  EXPECT_FALSE(FileExists(Path("page.htm")));
  EXPECT_FALSE(FileExists(Path("page")));
}

TEST_F(MorvelWindow, OverwriteQuestionCancelKeepsTheFileAndOkReplacesIt) {
  WriteFileBytes(Path("in.txt"), "new\r\n");
  WriteFileBytes(Path("page.htm"), "old");
  const std::string question = "このファイルはすでに存在しています。\n上書きしてもよろしいですか？";
  Create(Path("in.txt"), Path("page.htm"));
  ExpectBoxAndAnswer("上書き", question, IDCANCEL);
  EXPECT_TRUE(NoBoxAppears());
  EXPECT_EQ(ReadFileBytes(Path("page.htm")), "old");

  Click(window_, IDOK);
  ExpectBoxAndAnswer("上書き", question, IDOK);
  ExpectBoxAndAnswer("完了", Path("page.htm") + "が作成できました。", IDOK);
  EXPECT_NE(ReadFileBytes(Path("page.htm")).find("new"), std::string::npos);
}

TEST_F(MorvelWindow, RefusesTheSamePathAndReservedCharacters) {
  WriteFileBytes(Path("x.htm"), "x");
  WriteFileBytes(Path("in.txt"), "x");
  Create(Path("x.htm"), Path("X.HTM"));
  ExpectBoxAndAnswer("同一のパス", "パスが同一であるため、処理できません。", IDOK);

  Create(Path("in.txt"), Path("a;b.htm"));
  ExpectBoxAndAnswer("名前", "ファイル名に \\ / : , ; * ? \" < > | の記号は使えません。", IDOK);
  EXPECT_TRUE(NoBoxAppears());
  EXPECT_EQ(ReadFileBytes(Path("x.htm")), "x");
}

// A name with a character code page 932 lacks ends the request before any other check: as a
// stand-in "?" it would be a wildcard, and "雪☃.txt" would convert "雪Ａ.txt".
TEST_F(MorvelWindow, RefusesNamesThatCodePage932CannotSpell) {
  WriteFileBytes(Path("in.txt"), "x\r\n");
  WriteFileBytes(Path(L"雪Ａ.txt"), "not me\r\n");  // listed after the others under Wine
  for (const wchar_t* name : {L"雪☃.txt", L"雪é.txt", L"雪한.txt"}) {
    WriteFileBytes(Path(name), "me\r\n");
  }
  const struct {
    std::wstring source;
    std::wstring target;
  } CASES[] = {
      {Path(L"雪☃.txt"), Path(L"page.htm")},
      {Path(L"é한.txt"), Path(L"page.htm")},
      {Path(L"in.txt"), Path(L"café.htm")},
      {Path(L"in.txt"), Path(L"한☃.htm")},
      {L"", Path(L"☃.htm")},  // before the empty-name check
  };
  for (const auto& c : CASES) {
    SetText(window_, IDC_SOURCE_PATH, c.source);
    SetText(window_, IDC_TARGET_PATH, c.target);
    Click(window_, IDOK);
    ExpectBoxAndAnswer("名前", "ファイル名にシフトJISで表せない文字が含まれています。", IDOK);
    EXPECT_TRUE(NoBoxAppears());
  }
  EXPECT_TRUE(NamesIn(folder_, L"*.htm").empty());

  // A wildcard takes the first match that code page 932 can spell, wherever the folder lists it.
  Create(Path("雪*.txt"), Path("page.htm"));
  ExpectBoxAndAnswer("完了", Path("page.htm") + "が作成できました。", IDOK);
  EXPECT_NE(ReadFileBytes(Path("page.htm")).find("not me"), std::string::npos);
}

TEST_F(MorvelWindow, ConvertsAPictureWithABorder) {
  CreateDirectoryA(Path("web").c_str(), nullptr);
  WriteFileBytes(Path("猫表.png"), "PNG bytes");
  Click(window_, IDC_STAMP);
  SetText(window_, IDC_TITLE, "T");
  SetText(window_, IDC_BORDER, "2");
  ASSERT_TRUE(WaitUntil([&] { return CheckState(window_, IDC_STAMP) == OFF; }));
  Create(Path("猫表.png"), Path("web\\cat.htm"));
  ExpectBoxAndAnswer("完了", Path("web\\cat.htm") + "が作成できました。", IDOK);
  EXPECT_EQ(ReadFileBytes(Path("web\\cat.htm")),
            "<!--MORVEL1.3-->\r\n<HTML><HEAD><TITLE>T</TITLE></HEAD>\r\n"
            "<BODY bgcolor=\"FFFFFF\" text=\"000000\">\r\n<BR>\r\n"
            "<CENTER><IMG src=\"猫表.png\" border=\"2\"></CENTER>\r\n</BODY>\r\n</HTML>");
  EXPECT_EQ(ReadFileBytes(Path("web\\猫表.png")), "PNG bytes");
  DeleteFileW(Path(L"web\\cat.htm").c_str());
  DeleteFileW(Path(L"web\\猫表.png").c_str());
  RemoveDirectoryA(Path("web").c_str());
}

// The border field is read as an unsigned number and handed over bit for bit. (4294967295
// itself is left out: Wine's GetDlgItemInt takes it for an overflow and gives 0.)
TEST_F(MorvelWindow, BorderFieldReachesThePictureAsAnUnsignedNumber) {
  WriteFileBytes(Path("cat.gif"), "GIF bytes");
  const struct {
    const char* field;
    const char* border;
  } CASES[] = {{"007", "7"},
               {"", "0"},
               {"4294967296", "0"},
               {"2147483648", "-2147483648"},
               {"4294967294", "-2"}};
  int number = 0;
  for (const auto& c : CASES) {
    const std::string target = Path("page" + std::to_string(++number) + ".htm");
    SetText(window_, IDC_BORDER, c.field);
    Create(Path("cat.gif"), target);
    ExpectBoxAndAnswer("完了", target + "が作成できました。", IDOK);
    const std::string img = std::string("<IMG src=\"cat.gif\" border=\"") + c.border + "\">";
    EXPECT_NE(ReadFileBytes(target).find(img), std::string::npos) << c.field;
  }
}

// ---------------------------------------------------------------------------------------------
// The common dialogs, driven through their own controls

// The file name field of the file dialogs (an edit inside a combo box).
constexpr int FILE_NAME_FIELD = 0x47C;

// Waits for the file dialog, types `name` into its file name field and presses its OK button.
void ChooseInFileDialog(RunningApp& app, const std::string& title, const std::string& name) {
  MessageBoxSeen dialog = WaitForMessageBox(app);
  ASSERT_NE(dialog.window, nullptr) << "no file dialog appeared";
  EXPECT_EQ(dialog.caption, title);
  SendMessageA(GetDlgItem(dialog.window, FILE_NAME_FIELD), WM_SETTEXT, 0,
               reinterpret_cast<LPARAM>(name.c_str()));
  PostMessageA(dialog.window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog.window); }));
}

TEST_F(MorvelWindow, BrowseButtonsFillTheirFieldsFromTheFileDialogs) {
  WriteFileBytes(Path("in.txt"), "x");
  Click(window_, IDC_SOURCE_BROWSE);
  ChooseInFileDialog(app_, "変換するファイル", Path("in.txt"));
  EXPECT_TRUE(WaitUntil([&] { return TextOf(window_, IDC_SOURCE_PATH) == Path("in.txt"); }));

  // A new name typed without an extension comes back with ".htm".
  Click(window_, IDC_TARGET_BROWSE);
  ChooseInFileDialog(app_, "変換したファイルの保存先", Path("new"));
  EXPECT_TRUE(WaitUntil([&] { return TextOf(window_, IDC_TARGET_PATH) == Path("new.htm"); }));
  EXPECT_EQ(TextOf(window_, IDC_SOURCE_PATH), Path("in.txt"));
  EXPECT_TRUE(IsWindowEnabled(window_));
}

// ---------------------------------------------------------------------------------------------
// Libraries planted beside the programs

// Libraries that the system's own libraries load by name once a program runs on Windows (the
// window frame's and the system's encryption helpers), and that neither program loads before
// its entry under Wine. A DLL of the tests' own (planted.dll, built beside this program) is
// planted under each name beside copies of both programs; loaded, it leaves "<its path>.loaded"
// there.
const wchar_t* const PLANTED_NAMES[] = {L"dwmapi.dll", L"cryptbase.dll"};

// Wine takes its own build of a system library before a DLL of the same name found beside the
// program. For the programs named here, and while it lives, this asks Wine to take such a DLL
// first (in its registry, as a program's own settings), as Windows does with a library that is
// not one of its known system libraries. The same test in another process (the other locale's
// run) waits meanwhile, since the settings are shared.
class NativeLibrariesFirst {
 public:
  explicit NativeLibrariesFirst(std::vector<std::wstring> programs)
      : programs_(std::move(programs)),
        turn_(CreateMutexW(nullptr, FALSE, L"morvel-e2e-native-libraries-first")) {
    if (turn_) WaitForSingleObject(turn_, 60000);
    for (const std::wstring& program : programs_) {
      HKEY key = nullptr;
      if (RegCreateKeyExW(HKEY_CURRENT_USER, Key(program).c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                          nullptr, &key, nullptr) != ERROR_SUCCESS) {
        continue;
      }
      for (const wchar_t* name : PLANTED_NAMES) {
        std::wstring module = name;  // as Wine names it: without ".dll"
        if (module.ends_with(L".dll")) module.resize(module.size() - 4);
        const wchar_t order[] = L"native,builtin";
        RegSetValueExW(key, module.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(order),
                       sizeof order);
      }
      RegCloseKey(key);
    }
  }
  ~NativeLibrariesFirst() {
    for (const std::wstring& program : programs_) {
      RegDeleteTreeW(HKEY_CURRENT_USER, Key(program).c_str());
    }
    if (turn_) {
      ReleaseMutex(turn_);
      CloseHandle(turn_);
    }
  }
  NativeLibrariesFirst(const NativeLibrariesFirst&) = delete;
  NativeLibrariesFirst& operator=(const NativeLibrariesFirst&) = delete;

 private:
  static std::wstring Key(const std::wstring& program) {
    return L"Software\\Wine\\AppDefaults\\" + program + L"\\DllOverrides";
  }
  std::vector<std::wstring> programs_;
  HANDLE turn_;
};

// Has a thread of `process` load each planted name by itself, as a system library loads
// another (LoadLibraryW with the bare name), and waits for it.
void LoadThePlantedNamesInside(HANDLE process) {
  const auto loadLibrary = reinterpret_cast<LPTHREAD_START_ROUTINE>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "LoadLibraryW")));
  for (const std::wstring name : PLANTED_NAMES) {
    const size_t bytes = (name.size() + 1) * sizeof(wchar_t);
    void* remote =
        VirtualAllocEx(process, nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    ASSERT_NE(remote, nullptr);
    ASSERT_TRUE(WriteProcessMemory(process, remote, name.c_str(), bytes, nullptr));
    const HANDLE thread = CreateRemoteThread(process, nullptr, 0, loadLibrary, remote, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    EXPECT_EQ(WaitForSingleObject(thread, 10000), WAIT_OBJECT_0) << name;
    CloseHandle(thread);
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  }
}

// The window, once it shows, converts a text typed into its fields.
void LoadInsideTheWindow(const std::string& folder) {
  RunningApp app;
  ASSERT_TRUE(app.Launch(folder + "MORVEL.exe", folder));
  const HWND window = WaitForWindow(app, "MORVEL");
  ASSERT_NE(window, nullptr) << "the main window did not appear";
  LoadThePlantedNamesInside(app.Handle());
  SetText(window, IDC_SOURCE_PATH, folder + "in.txt");
  SetText(window, IDC_TARGET_PATH, folder + "window.htm");
  Click(window, IDOK);
  MessageBoxSeen box = WaitForMessageBox(app);
  EXPECT_EQ(box.caption, "完了");
  if (box.window) {
    EXPECT_TRUE(Answer(box, IDOK));
  }
  Click(window, IDCANCEL);
  EXPECT_EQ(app.WaitForExit(5000), 0u);
  EXPECT_NE(ReadFileBytes(folder + "window.htm").find("planted"), std::string::npos);
}

// The converter, once it has read the first part of a text from standard input, converts it.
void LoadInsideTheConverter(const std::string& folder) {
  SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
  HANDLE input = nullptr;
  HANDLE writer = nullptr;
  ASSERT_TRUE(CreatePipe(&input, &writer, &inherited, 0));
  SetHandleInformation(writer, HANDLE_FLAG_INHERIT, 0);
  const std::wstring exe = FromCodePage932(folder + "morvel-convert.exe");
  std::wstring commandLine = L"\"" + exe + L"\" -q - cli.htm";
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = input;
  PROCESS_INFORMATION process = {};
  const bool started =
      CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                     nullptr, FromCodePage932(folder).c_str(), &startup, &process);
  if (started) {
    DWORD written = 0;
    WriteFile(writer, "planted\r\n", 9, &written, nullptr);
    // Once the text is read from the pipe, the converter is past its entry.
    DWORD waiting = 1;
    EXPECT_TRUE(WaitUntil([&] {
      return PeekNamedPipe(input, nullptr, 0, nullptr, &waiting, nullptr) && waiting == 0;
    }));
    LoadThePlantedNamesInside(process.hProcess);
  }
  CloseHandle(writer);
  CloseHandle(input);
  ASSERT_TRUE(started);
  WaitForSingleObject(process.hProcess, 30000);
  DWORD code = 0xFFFFFFFF;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  EXPECT_EQ(code, 0u);
  EXPECT_NE(ReadFileBytes(folder + "cli.htm").find("planted"), std::string::npos);
}

// Copies of both programs, with a planted DLL under each name beside them: a library either
// loads by name once it runs comes from the system, never from the program's folder.
TEST(Programs, LoadNoLibraryPlantedInTheirFolder) {
  const struct {
    std::string program;
    void (*run)(const std::string& folder);
  } CASES[] = {
      {FolderOfThisProgram() + "MORVEL.exe", LoadInsideTheWindow},
      {ConverterPath(), LoadInsideTheConverter},
  };
  const NativeLibrariesFirst nativeFirst({L"MORVEL.exe", L"morvel-convert.exe"});
  for (const auto& c : CASES) {
    const std::string folder = MakeWorkFolder();
    const std::wstring wideFolder = FromCodePage932(folder);
    const std::string name = c.program.substr(c.program.find_last_of('\\') + 1);
    ASSERT_TRUE(CopyFileW(FromCodePage932(c.program).c_str(),
                          FromCodePage932(folder + name).c_str(), FALSE));
    for (const wchar_t* planted : PLANTED_NAMES) {
      ASSERT_TRUE(CopyFileW(FromCodePage932(FolderOfThisProgram() + "planted.dll").c_str(),
                            (wideFolder + planted).c_str(), FALSE));
    }
    WriteFileBytes(folder + "in.txt", "planted\r\n");
    c.run(folder);
    EXPECT_EQ(NamesIn(folder, L"*.loaded"), std::vector<std::wstring>{}) << name;
    RemoveWorkFolder(folder);
  }
}

// The red, green and blue fields of the colour dialog.
constexpr int RED_FIELD = 706;
constexpr int GREEN_FIELD = 707;
constexpr int BLUE_FIELD = 708;

TEST_F(MorvelWindow, ColourDialogChoiceReachesThePage) {
  Click(window_, IDC_BGCOLOR_BUTTON);
  MessageBoxSeen dialog = WaitForMessageBox(app_);
  ASSERT_NE(dialog.window, nullptr) << "no colour dialog appeared";
  // The dialog opens on white; red is white without green and blue.
  SendMessageA(GetDlgItem(dialog.window, GREEN_FIELD), WM_SETTEXT, 0,
               reinterpret_cast<LPARAM>("0"));
  SendMessageA(GetDlgItem(dialog.window, BLUE_FIELD), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("0"));
  EXPECT_EQ(TextOf(GetDlgItem(dialog.window, RED_FIELD)), "255");
  PostMessageA(dialog.window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  EXPECT_TRUE(WaitUntil([&] { return TextOf(window_, IDC_BGCOLOR_TEXT) == "# FF0000"; }));

  // Cancelling the text colour's dialog keeps black.
  Click(window_, IDC_TEXTCOLOR_BUTTON);
  dialog = WaitForMessageBox(app_);
  ASSERT_NE(dialog.window, nullptr) << "no colour dialog appeared";
  SendMessageA(GetDlgItem(dialog.window, RED_FIELD), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("0"));
  PostMessageA(dialog.window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog.window); }));
  EXPECT_EQ(TextOf(window_, IDC_TEXTCOLOR_TEXT), "# 000000");

  WriteFileBytes(Path("in.txt"), "x\r\n");
  Click(window_, IDC_STAMP);
  ASSERT_TRUE(WaitUntil([&] { return CheckState(window_, IDC_STAMP) == OFF; }));
  Create(Path("in.txt"), Path("page.htm"));
  ExpectBoxAndAnswer("完了", Path("page.htm") + "が作成できました。", IDOK);
  const std::string page = ReadFileBytes(Path("page.htm"));
  EXPECT_NE(page.find("<BODY bgcolor=\"FF0000\" text=\"000000\">"), std::string::npos) << page;
}

// ---------------------------------------------------------------------------------------------
// A conversion is never re-entered nor torn down

TEST_F(MorvelWindow, CreateAndExitWaitWhileAQuestionIsOpen) {
  WriteFileBytes(Path("in.txt"), "new\r\n");
  WriteFileBytes(Path("page.htm"), "old");
  Create(Path("in.txt"), Path("page.htm"));
  MessageBoxSeen question = WaitForMessageBox(app_);
  ASSERT_EQ(question.caption, "上書き");
  EXPECT_FALSE(IsWindowEnabled(window_)) << "the box must be owned by the main window";

  // 作成 and Esc as the queue would deliver them, and the close box.
  PostCommand(window_, IDOK);
  PostCommand(window_, IDCANCEL);
  PostMessageA(window_, WM_CLOSE, 0, 0);
  Sleep(200);
  EXPECT_EQ(TopWindows(app_.Id(), "#32770").size(), 1u) << "a second request started";
  EXPECT_TRUE(IsWindow(window_));
  EXPECT_EQ(app_.WaitForExit(0), STILL_ACTIVE);

  ASSERT_TRUE(Answer(question, IDOK));
  ExpectBoxAndAnswer("完了", Path("page.htm") + "が作成できました。", IDOK);
  EXPECT_NE(ReadFileBytes(Path("page.htm")).find("new"), std::string::npos);
  // The exit asked for during the request happens after it.
  EXPECT_EQ(app_.WaitForExit(5000), 0u);
}

TEST_F(MorvelWindow, CreateDuringAQuestionStartsNoSecondRequest) {
  WriteFileBytes(Path("in.txt"), "new\r\n");
  WriteFileBytes(Path("page.htm"), "old");
  Create(Path("in.txt"), Path("page.htm"));
  MessageBoxSeen question = WaitForMessageBox(app_);
  ASSERT_EQ(question.caption, "上書き");
  PostCommand(window_, IDOK);
  Sleep(100);
  ASSERT_TRUE(Answer(question, IDCANCEL));
  EXPECT_TRUE(NoBoxAppears());
  EXPECT_TRUE(IsWindowEnabled(window_));
  EXPECT_EQ(ReadFileBytes(Path("page.htm")), "old");
}

// ---------------------------------------------------------------------------------------------
// Ending, dropping, About

TEST_F(MorvelWindow, EscExitsWithCodeZero) {
  SetText(window_, IDC_TITLE, "unsaved");
  PressKey(window_, IDC_TITLE, VK_ESCAPE);
  EXPECT_EQ(app_.WaitForExit(5000), 0u);
}

TEST_F(MorvelWindow, CloseBoxExitsWithCodeZero) {
  PostMessageA(window_, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(app_.WaitForExit(5000), 0u);
}

TEST_F(MorvelWindow, ExitButtonExitsWithCodeZero) {
  Click(window_, IDCANCEL);
  EXPECT_EQ(app_.WaitForExit(5000), 0u);
}

TEST_F(MorvelWindow, FileMenuExitExitsWithCodeZero) {
  PostCommand(window_, IDCANCEL);
  EXPECT_EQ(app_.WaitForExit(5000), 0u);
}

TEST_F(MorvelWindow, DropOfThreeFilesFillsOnlyTheSourceWithTheFirst) {
  SetText(window_, IDC_TARGET_PATH, "C:\\keep.htm");
  ASSERT_TRUE(DropFiles(app_, window_, {"C:\\one\\表.txt", "C:\\two.txt", "C:\\three.txt"}));
  EXPECT_TRUE(WaitUntil([&] { return TextOf(window_, IDC_SOURCE_PATH) == "C:\\one\\表.txt"; }));
  EXPECT_EQ(TextOf(window_, IDC_TARGET_PATH), "C:\\keep.htm");
}

// "Open with", "Send to" and a drop on the program's icon start it with the file's path: the
// field is filled as a drop fills it (a relative path taken from the current folder), and a
// start without one leaves it empty (the fixture's own start).
TEST_F(MorvelWindow, StartsWithTheFileNamedOnItsCommandLine) {
  EXPECT_EQ(TextOf(window_, IDC_SOURCE_PATH), "");
  WriteFileBytes(Path("in.txt"), "x\r\n");
  const struct {
    std::wstring argument;
    std::wstring shown;
    const char* caption;  // of the box that creating then shows
  } CASES[] = {
      {L"\"" + Path(L"雪☃ café 한.txt") + L"\"", Path(L"雪☃ café 한.txt"), "名前"},
      {L"in.txt", Path(L"in.txt"), "完了"},
  };
  for (const auto& c : CASES) {
    RunningApp app;
    ASSERT_TRUE(app.Launch(FolderOfThisProgram() + "MORVEL.exe", folder_, c.argument));
    const HWND window = WaitForWindow(app, "MORVEL");
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return WideTextOf(window, IDC_SOURCE_PATH) == c.shown; }));
    SetText(window, IDC_TARGET_PATH, Path("page.htm"));
    Click(window, IDOK);
    MessageBoxSeen box = WaitForMessageBox(app);
    EXPECT_EQ(box.caption, c.caption);
    if (box.window) {
      EXPECT_TRUE(Answer(box, IDOK));
    }
  }
  EXPECT_NE(ReadFileBytes(Path("page.htm")).find("x"), std::string::npos);
}

TEST_F(MorvelWindow, AboutBoxShowsTheVersionText) {
  PostCommand(window_, IDM_ABOUT);
  MessageBoxSeen box = ExpectBox("バージョン情報",
                                 "MORVEL ver. 1.3\n\nCopyright (C) the MORVEL developers\n\n"
                                 "作成　2001 8/18\n\n\n\n修正　2002 3/16\n\n"
                                 "Home page: the MORVEL project repository");
  EXPECT_FALSE(IsWindowEnabled(window_));
  ASSERT_TRUE(Answer(box, IDOK));
  EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(window_) != FALSE; }));
}

}  // namespace
}  // namespace morvel::e2e
