// Every command through the command filter, with no table, a loaded one and one that failed to
// load: help mode first, then the needs-a-file refusal, then the handler. Accelerators and system
// commands take their own ways. The help texts word for word are in tests/scripts/help_mode.case.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestFiles.h"
#include "app/HelpTable.h"
#include "app/Resource.h"

namespace {

using Lines = std::vector<std::string>;

const char kOpenFirst[] = "box Help: Open a file first!";
const char kHelpOn[] = "box lintaro: Brings up help messages when you select a menu option.";

// The message box line for a help text, with its line breaks as the driver prints them.
std::string HelpBox(const std::string& text) {
  std::string escaped;
  for (char c : text)
    escaped += c == '\n' ? std::string("\\n") : std::string(1, c);
  return "box Help: " + escaped;
}

std::string HelpTextOf(UINT id) {
  uint8_t needsFile = 0;
  return HelpTable().Lookup(static_cast<int>(id), &needsFile);
}

enum class Table { None, Loaded, Failed };

// What the user sees when the program is started with `table`, help mode set, and then `step`.
// Queued answers cancel whatever dialog the step opens; `syscommand 16` afterwards shows
// whether the program still runs (it opens the About box in any mode).
Lines AfterStep(const TempDir& dir, Table table, bool helpMode, const std::string& step) {
  std::string prefix = table == Table::Loaded   ? "start f.qdx\n"
                       : table == Table::Failed ? "start missing.qdx\n"
                                                : "start\n";
  if (helpMode)
    prefix += "menu ID_HELP_ONLINE\n";
  prefix += "file cancel\ndialog cancel\n";
  ScriptOutput before = RunScript(dir, prefix);
  ScriptOutput after = RunScript(dir, prefix + step + "\nsyscommand 16\n");
  EXPECT_EQ(after.status, 0) << after.err;
  EXPECT_EQ(after.out.compare(0, before.out.size(), before.out), 0) << after.out;
  ScriptOutput rest;
  rest.out = after.out.substr(std::min(before.out.size(), after.out.size()));
  return rest.Lines();
}

// With a loaded table each command does what the scripts in tests/scripts/ show, and help mode
// explains it (help_mode.case); here the other two ways to be without rows.
struct CommandRow {
  const char* step;
  UINT id;  // whose help text help mode shows; 0 for the help-mode toggle itself
  Lines none, failed;
  bool ends;  // with help mode off, the program ends
};

const std::string kZeros = "box Info: File\\nRows   : 0\\nColumns: 0\\n\\nDisplayed\\nRows   : 0";
const Lines kClose = {"title Lintaro by Quorvel", "exit"};
const Lines kAll = {"title Displaying all...", "title missing.qdx"};

const CommandRow kCommands[] = {
    {"menu ID_FILE_OPEN", ID_FILE_OPEN, {"filedialog none"}, {"filedialog missing.qdx"}, false},
    {"menu ID_FILE_EXIT", ID_FILE_EXIT, {"exit"}, kClose, true},
    {"menu ID_VIEW_INFO", ID_VIEW_INFO, {kOpenFirst}, {kZeros}, false},
    {"menu ID_VIEW_HEADERS", ID_VIEW_HEADERS, {kOpenFirst}, kAll, false},
    {"menu ID_VIEW_FIND", ID_VIEW_FIND, {kOpenFirst}, {"dialog Find: selected none"}, false},
    {"menu ID_VIEW_PICK", ID_VIEW_PICK, {kOpenFirst}, {"dialog Pick: selected none"}, false},
    {"menu ID_VIEW_DUPLICATES",
     ID_VIEW_DUPLICATES,
     {kOpenFirst},
     {"dialog Pick duplicates: selected none"},
     false},
    // A failed first load never listed anything.
    {"menu ID_VIEW_ALL", ID_VIEW_ALL, {kOpenFirst}, kAll, false},
    {"menu ID_OPTIONS_SAVE_SETTINGS", ID_OPTIONS_SAVE_SETTINGS, {}, {}, false},
    {"menu ID_OPTIONS_REGISTER", ID_OPTIONS_REGISTER, {}, {}, false},
    {"menu ID_OPTIONS_UNREGISTER", ID_OPTIONS_UNREGISTER, {}, {}, false},
    {"menu ID_HELP_ONLINE", 0, {kHelpOn}, {kHelpOn}, false},
    {"menu ID_HELP_ABOUT", ID_HELP_ABOUT, {"about"}, {"about"}, false},
    {"key Enter", IDOK, {"exit"}, kClose, true},
    {"key Escape", IDCANCEL, {"exit"}, kClose, true},
    {"close", IDCANCEL, {"exit"}, kClose, true},
};

TEST(CommandDispatch, EveryCommandWithoutRowsWithHelpModeOffAndOn) {
  TempDir dir;
  for (const CommandRow& c : kCommands) {
    for (Table table : {Table::None, Table::Failed}) {
      SCOPED_TRACE(std::string(c.step) + (table == Table::None ? ", no table" : ", failed"));
      Lines off = table == Table::None ? c.none : c.failed;
      off.push_back(c.ends ? "error: not running" : "about");
      EXPECT_EQ(AfterStep(dir, table, false, c.step), off) << "help mode off";
      // Help mode shows the text, needs-a-file or not, and runs nothing; the toggle itself
      // switches it off without a word.
      Lines on;
      if (c.id != 0)
        on.push_back(HelpBox(HelpTextOf(c.id)));
      on.push_back("about");
      EXPECT_EQ(AfterStep(dir, table, true, c.step), on) << "help mode on";
    }
  }
}

// Accelerators skip help mode, but those of needs-a-file commands still need a table. Which
// command each key gives is in the scripts that use it.
TEST(CommandDispatch, AcceleratorsSkipHelpMode) {
  TempDir dir;
  dir.Write("f.qdx", "a;b\n1;2\n");
  struct {
    const char* key;
    Lines none, loaded;
  } const cases[] = {
      {"key Ctrl+O", {"filedialog none"}, {"filedialog f.qdx"}},
      {"key Ctrl+I",
       {kOpenFirst},
       {"box Info: File\\nRows   : 1\\nColumns: 2\\n\\nDisplayed\\nRows   : 1"}},
  };
  for (const auto& c : cases) {
    for (bool helpMode : {false, true}) {
      for (Table table : {Table::None, Table::Loaded}) {
        SCOPED_TRACE(std::string(c.key) + (helpMode ? ", help mode" : "") +
                     (table == Table::Loaded ? ", loaded" : ", no table"));
        Lines expected = table == Table::None ? c.none : c.loaded;
        expected.push_back("about");
        EXPECT_EQ(AfterStep(dir, table, helpMode, c.key), expected);
      }
    }
  }
}

// Help mode leaves system commands alone; closing in help mode is in tests/scripts/help_mode.case.
TEST(CommandDispatch, SystemCommands16To31OpenAbout) {
  TempDir dir;
  for (int command : {15, 16, 31, 32}) {
    SCOPED_TRACE(command);
    Lines expected = {"about"};
    if (command == 16 || command == 31)
      expected.push_back("about");
    EXPECT_EQ(AfterStep(dir, Table::None, false, "syscommand " + std::to_string(command)),
              expected);
  }
}

}  // namespace
