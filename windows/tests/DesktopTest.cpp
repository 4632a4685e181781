// lintaro.exe as a user meets it: a file from the command line, a click on a column title, Pick,
// Find, Duplicates, All, Headers, Info, help mode, the system menu's About, and "Save settings on
// exit" bringing the window back where it was left. Everything is read back as the user sees it:
// the title, the list's items and texts, the boxes' captions and texts.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>

#include "RemoteProgram.h"
#include "app/Resource.h"

bool operator==(const RECT& a, const RECT& b) {
  return EqualRect(&a, &b) != FALSE;
}

void PrintTo(const RECT& r, std::ostream* out) {
  *out << "(" << r.left << "," << r.top << "," << r.right << "," << r.bottom << ")";
}

namespace {

const char kFile[] =
    "name;city;phone\r\n"
    "Anna;Lund;111\r\n"
    "bo;Malmo;222\r\n"
    "Cecilia;Lund;111\r\n"
    "anna;Kiruna;333\r\n"
    "Erik;Lund;222\r\n";
const std::vector<std::string> kFileOrder = {"Anna;Lund;111", "bo;Malmo;222", "Cecilia;Lund;111",
                                             "anna;Kiruna;333", "Erik;Lund;222"};
constexpr char kSettingsKey[] = "Software\\Lintaro";

std::string TestFile(const std::string& name = "people.qdx", const std::string& bytes = kFile) {
  char temp[MAX_PATH] = {};
  GetTempPathA(sizeof temp, temp);
  std::string folder = std::string(temp) + "lintaro desktop test";
  CreateDirectoryA(folder.c_str(), nullptr);
  std::string path = folder + "\\" + name;
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

std::vector<BYTE> StoredSettings() {
  std::vector<BYTE> data(64);
  DWORD size = static_cast<DWORD>(data.size());
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
    return {};
  LONG status = RegQueryValueExA(key, "Config", nullptr, nullptr, data.data(), &size);
  RegCloseKey(key);
  data.resize(status == ERROR_SUCCESS ? size : 0);
  return data;
}

LONG Word(const std::vector<BYTE>& image, size_t index) {
  LONG value = 0;
  std::memcpy(&value, image.data() + 4 * index, 4);
  return value;
}

// Answers a field chooser: picks entry `field`, types `match`, checks "Exact match" if asked, OK.
void Answer(HWND dialog, int field, const char* match, bool exact) {
  ASSERT_NE(dialog, nullptr);
  HWND combo = GetDlgItem(dialog, IDC_FIELD);
  SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(field), 0);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_FIELD, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(combo));
  if (match)
    SendMessageA(GetDlgItem(dialog, IDC_MATCH), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(match));
  if (exact)
    SendMessageA(GetDlgItem(dialog, IDC_EXACT), BM_CLICK, 0, 0);
  PostMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
}

// Types `text` into the dialog's match box a character at a time, as the keyboard does.
void TypeMatch(HWND dialog, const std::wstring& text) {
  ASSERT_NE(dialog, nullptr);
  HWND match = GetDlgItem(dialog, IDC_MATCH);
  SendMessageW(match, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
  for (wchar_t c : text)
    SendMessageW(match, WM_CHAR, c, 1);
}

// A window's text as the window system's wide text, in UTF-8.
std::string WideWindowText(HWND window) {
  wchar_t text[1024] = {};
  SendMessageTimeoutW(window, WM_GETTEXT, sizeof text / sizeof text[0],
                      reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, nullptr);
  int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(length > 0 ? length - 1 : 0), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes.data(), length, nullptr, nullptr);
  return bytes;
}

// Row details of an item, opened with a double-click, read and closed again; "(none)" when no
// window opens.
std::string RowDetails(RemoteProgram& program, int item) {
  program.DoubleClickItem(item);
  HWND details = program.Dialog("Row details");
  if (!details)
    return "(none)";
  std::string text = WideWindowText(GetDlgItem(details, IDC_DETAILS));
  PostMessageA(details, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(details); }));
  return text;
}

// The text that the clipboard holds in `format`, CF_TEXT or CF_UNICODETEXT (as UTF-8); "(none)"
// when it holds none in that format.
std::string Clipboard(UINT format) {
  if (!OpenClipboard(nullptr))
    return "(no clipboard)";
  std::string text = "(none)";
  if (HANDLE data = GetClipboardData(format)) {
    if (const void* at = GlobalLock(data)) {
      if (format == CF_UNICODETEXT) {
        const auto* wide = static_cast<const wchar_t*>(at);
        int length = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
        text.assign(static_cast<size_t>(length > 0 ? length - 1 : 0), '\0');
        WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), length, nullptr, nullptr);
      } else {
        text = static_cast<const char*>(at);
      }
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

void EmptyTheClipboard() {
  if (OpenClipboard(nullptr)) {
    EmptyClipboard();
    CloseClipboard();
  }
}

// The box that shows, its text, and OK.
std::string Box(RemoteProgram& program, const std::string& caption) {
  HWND box = program.Dialog(caption);
  if (!box)
    return "(no box " + caption + ")";
  std::string text = RemoteProgram::Statics(box);
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  WaitFor([&] { return !IsWindow(box); });
  return text;
}

class DesktopTest : public ::testing::Test {
 protected:
  void SetUp() override { RegDeleteKeyA(HKEY_CURRENT_USER, kSettingsKey); }
  void TearDown() override { RegDeleteKeyA(HKEY_CURRENT_USER, kSettingsKey); }
};

TEST_F(DesktopTest, AUserSessionAndARestartThatKeepsThePlace) {
  std::string path = TestFile();
  RemoteProgram program;
  ASSERT_TRUE(program.Start("\"" + path + "\""));
  HWND main = program.Main();
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(WaitFor([&] { return WindowText(main) == path; })) << WindowText(main);
  EXPECT_EQ(program.Rows(3), kFileOrder);
  EXPECT_EQ(program.ColumnTitle(0) + "," + program.ColumnTitle(2), "name,phone");

  // A title click sorts by byte order, the next one reverses it; the title shows the order.
  EXPECT_EQ(program.SortArrow(0), 0);
  program.ClickTitle(0);
  EXPECT_TRUE(WaitFor([&] { return program.ItemText(0, 0) == "Anna"; }));
  EXPECT_EQ(program.Rows(1), (std::vector<std::string>{"Anna", "Cecilia", "Erik", "anna", "bo"}));
  EXPECT_EQ(program.SortArrow(0), 1);
  program.ClickTitle(0);
  EXPECT_TRUE(WaitFor([&] { return program.ItemText(0, 0) == "bo"; }));
  EXPECT_EQ(program.SortArrow(0), -1);

  // The accelerator wants Control alone: with Shift too, no Pick.
  program.Keys({VK_CONTROL, VK_SHIFT, 'P'});
  EXPECT_EQ(program.Dialog("Pick", 700), nullptr);
  program.Keys({VK_CONTROL, 'P'});
  Answer(program.Dialog("Pick"), 1, "lund", false);
  EXPECT_TRUE(WaitFor([&] { return program.ItemCount() == 3 && WindowText(main) == path; }));
  program.Command(ID_VIEW_INFO);
  EXPECT_EQ(Box(program, "Info"), "File\nRows   : 5\nColumns: 3\n\nDisplayed\nRows   : 3");

  program.Command(ID_VIEW_ALL);
  EXPECT_TRUE(WaitFor([&] { return program.ItemCount() == 5; }));
  EXPECT_EQ(program.Rows(3), kFileOrder);
  EXPECT_EQ(program.SortArrow(0), 0);

  program.Command(ID_VIEW_FIND);
  Answer(program.Dialog("Find"), 0, "anna", true);
  EXPECT_TRUE(WaitFor([&] { return program.Selected() == 0; }));
  program.Command(ID_VIEW_FIND);
  Answer(program.Dialog("Find"), 0, "anna", true);
  EXPECT_TRUE(WaitFor([&] { return program.Selected() == 3; }));

  // Ctrl+C, a key of the list, puts the selected row on the real clipboard, a tab between its
  // cells, as the code page's text and as wide text.
  EmptyTheClipboard();
  program.Keys({VK_CONTROL, 'C'});
  EXPECT_TRUE(WaitFor([&] { return Clipboard(CF_UNICODETEXT) == "anna\tKiruna\t333"; }))
      << Clipboard(CF_UNICODETEXT);
  EXPECT_EQ(Clipboard(CF_TEXT), "anna\tKiruna\t333");

  // A double-click on a row shows its fields beside their titles, a line for each.
  EXPECT_EQ(RowDetails(program, 1), "name\tbo\r\ncity\tMalmo\r\nphone\t222\r\n");
  EXPECT_EQ(program.Selected(), 1);

  program.Command(ID_VIEW_DUPLICATES);
  HWND duplicates = program.Dialog("Pick duplicates");
  Answer(duplicates, 2, nullptr, false);
  EXPECT_TRUE(WaitFor([&] { return program.ItemCount() == 4; }));
  std::vector<std::string> phones;
  for (int i = 0; i < program.ItemCount(); ++i)
    phones.push_back(program.ItemText(i, 2));
  EXPECT_EQ(phones, (std::vector<std::string>{"111", "111", "222", "222"}));

  program.Command(ID_VIEW_HEADERS);
  EXPECT_TRUE(WaitFor([&] { return program.ItemCount() == 6; }));
  EXPECT_EQ(program.Rows(3).front(), "name;city;phone");
  EXPECT_EQ(program.ColumnTitle(0), "Column 1");

  // Help mode shows a command's help instead of running it.
  program.Command(ID_HELP_ONLINE);
  EXPECT_EQ(Box(program, "lintaro"), "Brings up help messages when you select a menu option.");
  program.Command(ID_VIEW_INFO);
  EXPECT_EQ(Box(program, "Help"), "Displays some info about the current file.");
  program.Command(ID_HELP_ONLINE);

  // The system menu's own item opens the About box.
  PostMessageA(main, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
  EXPECT_EQ(Box(program, "About Lintaro").substr(0, 19), "Lintaro Version 1.2");

  // Settings saved on exit bring the window back where the user left it.
  program.Command(ID_OPTIONS_SAVE_SETTINGS);
  SetWindowPos(main, nullptr, 40, 30, 600, 400, SWP_NOZORDER | SWP_NOACTIVATE);
  program.Command(ID_FILE_EXIT);
  ASSERT_TRUE(program.WaitForExit());
  std::vector<BYTE> image = StoredSettings();
  ASSERT_EQ(image.size(), 52u);
  EXPECT_EQ(Word(image, 0), 110);
  EXPECT_EQ(Word(image, 1), static_cast<LONG>(MF_CHECKED));
  EXPECT_EQ((RECT{Word(image, 9), Word(image, 10), Word(image, 11), Word(image, 12)}),
            (RECT{40, 30, 640, 430}));

  RemoteProgram again;
  ASSERT_TRUE(again.Start(""));
  HWND restarted = again.Main();
  ASSERT_NE(restarted, nullptr);
  EXPECT_EQ(WindowText(restarted), "Lintaro 1.2 by Quorvel");
  RECT placed{};
  GetWindowRect(restarted, &placed);
  EXPECT_EQ(placed, (RECT{40, 30, 640, 430}));
  EXPECT_EQ(again.ItemCount(), 0);
  PostMessageA(restarted, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(again.WaitForExit());
}

struct LetterFile {
  const char* what;
  std::string bytes;
};

// The same names in the two ways files hold them: a cell shows its characters, a title too, and
// the characters typed find them, whichever bytes the file has.
const LetterFile kLetterFiles[] = {
    {"utf-8", "F\xC3\xB6rnamn;Ort\r\nAnna;Lund\r\n\xC3\x85sa;Ume\xC3\xA5\r\nbo;Malmo\r\n"},
    {"windows-1252", "F\xF6rnamn;Ort\r\nAnna;Lund\r\n\xC5sa;Ume\xE5\r\nbo;Malmo\r\n"},
};

TEST_F(DesktopTest, CellsShowTheirLettersAndTypedLettersFindThem) {
  for (const LetterFile& file : kLetterFiles) {
    SCOPED_TRACE(file.what);
    std::string path = TestFile(std::string(file.what) + ".qdx", file.bytes);
    RemoteProgram program;
    ASSERT_TRUE(program.Start("\"" + path + "\""));
    HWND main = program.Main();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitFor([&] { return program.ItemCount() == 3; }));
    EXPECT_EQ(program.ColumnTitle(0), "F\xC3\xB6rnamn");
    EXPECT_EQ(program.ItemText(1, 0), "\xC3\x85sa");
    EXPECT_EQ(program.ItemText(1, 1), "Ume\xC3\xA5");

    program.Command(ID_VIEW_PICK);
    HWND pick = program.Dialog("Pick");
    TypeMatch(pick, L"Ume\u00E5");
    Answer(pick, 1, nullptr, false);
    EXPECT_TRUE(WaitFor([&] { return program.ItemCount() == 1; }));
    EXPECT_EQ(program.ItemText(0, 0), "\xC3\x85sa");

    program.Command(ID_VIEW_ALL);
    EXPECT_TRUE(WaitFor([&] { return program.ItemCount() == 3; }));
    program.Command(ID_VIEW_FIND);
    HWND find = program.Dialog("Find");
    TypeMatch(find, L"\u00C5sa");
    Answer(find, 0, nullptr, true);
    EXPECT_TRUE(WaitFor([&] { return program.Selected() == 1; }));

    EXPECT_EQ(RowDetails(program, 1), "F\xC3\xB6rnamn\t\xC3\x85sa\r\nOrt\tUme\xC3\xA5\r\n");

    program.Command(ID_FILE_EXIT);
    EXPECT_TRUE(program.WaitForExit());
  }
}

// A file dropped on the window from the shell opens as one chosen with Open does.
TEST_F(DesktopTest, AFileDroppedOnTheWindowOpens) {
  std::string path = TestFile();
  RemoteProgram program;
  ASSERT_TRUE(program.Start(""));
  HWND main = program.Main();
  ASSERT_NE(main, nullptr);
  program.DropFile(path);
  EXPECT_TRUE(WaitFor([&] { return WindowText(main) == path; })) << WindowText(main);
  EXPECT_EQ(program.Rows(3), kFileOrder);
  PostMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(program.WaitForExit());
}

// The program as a user unzips or installs it, in the folder that LINTARO_UNPACKED names
// (scripts/test-windows.sh sets it; environment names in it are expanded): it opens the example by
// the relative path that the README gives, and Register makes this copy the handler of .qdx
// files, which the uninstaller must take away again.
TEST_F(DesktopTest, AnUnpackedCopyShowsTheExampleAndRegistersItself) {
  const char* given = std::getenv("LINTARO_UNPACKED");
  if (!given)
    GTEST_SKIP() << "LINTARO_UNPACKED names no folder";
  char folder[MAX_PATH] = {};
  ASSERT_LT(ExpandEnvironmentStringsA(given, folder, sizeof folder), sizeof folder);
  std::string exe = std::string(folder) + "\\lintaro.exe";
  RemoteProgram program;
  ASSERT_TRUE(program.Start(exe, "examples\\people.qdx", folder)) << exe;
  HWND main = program.Main();
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(WaitFor([&] { return WindowText(main) == "examples\\people.qdx"; }))
      << WindowText(main);
  EXPECT_EQ(program.ColumnTitle(0) + ";" + program.ColumnTitle(1) + ";" + program.ColumnTitle(2),
            "name;city;age");
  std::vector<std::string> rows = program.Rows(3);
  ASSERT_EQ(rows.size(), 6u);
  // The fifth row's name and city go beyond what the code page can show.
  rows[4] = program.ItemText(4, 0) + ";" + program.ItemText(4, 1) + ";" + program.ItemText(4, 2);
  EXPECT_EQ(rows, (std::vector<std::string>{"Anna;Lund;34", "bo;Malmo;7", "Cecilia;Lund;51",
                                            "anna;Kiruna;19", "\xC3\x85sa;Ume\xC3\xA5;28",
                                            "Erik;Lund;34"}));

  program.Command(ID_OPTIONS_REGISTER);
  std::string command;
  EXPECT_TRUE(WaitFor([&] {
    char value[MAX_PATH + 16] = {};
    LONG size = sizeof value;
    RegQueryValueA(HKEY_CLASSES_ROOT, "QDX file\\shell\\Open\\command", value, &size);
    command = value;
    return command == "\"" + exe + "\" %1";
  })) << command;
  program.Command(ID_FILE_EXIT);
  EXPECT_TRUE(program.WaitForExit());
}

}  // namespace
