// Every command through the command filter: help mode first, then the needs-a-file refusal,
// then the handler. Accelerators and system commands take their own ways.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "TestFiles.h"
#include "app/HelpTable.h"
#include "app/Resource.h"
#include "platform/Win32.h"

namespace {

using Lines = std::vector<std::string>;

const char kNoHelp[] = "No help available for this option.";
const char kOpenFirst[] = "box Help: Open a file first!";
const char kHelpOn[] = "box lintaro: Brings up help messages when you select a menu option.";

// The rows in their stored order, with the needs-a-file flag; the texts themselves are checked
// word for word where the user sees them, in tests/scripts/help_mode.case.
TEST(HelpTable, RowsInStoredOrderThenTheEndRecord) {
  const std::pair<UINT, uint8_t> rows[] = {
      {ID_FILE_EXIT, 0},        {ID_FILE_OPEN, 0},          {ID_VIEW_ALL, 1},
      {ID_VIEW_DUPLICATES, 1},  {ID_VIEW_FIND, 1},          {ID_VIEW_HEADERS, 1},
      {ID_VIEW_INFO, 1},        {ID_VIEW_PICK, 1},          {ID_OPTIONS_SAVE_SETTINGS, 0},
      {ID_OPTIONS_REGISTER, 0}, {ID_OPTIONS_UNREGISTER, 0},
  };
  const HelpEntry* entry = HelpTable::entries;
  for (const auto& [id, needsFile] : rows) {
    SCOPED_TRACE(id);
    EXPECT_EQ(entry->commandId, static_cast<int32_t>(id));
    EXPECT_EQ(entry->needsFile, needsFile);
    uint8_t found = 7;
    EXPECT_STREQ(HelpTable().Lookup(static_cast<int>(id), &found), entry->text);
    EXPECT_EQ(found, needsFile);
    ++entry;
  }
  EXPECT_EQ(entry->commandId, -1);
  EXPECT_STREQ(entry->text, "");
  // Commands without a row, and ids that only the end record could match.
  for (int id : {static_cast<int>(ID_HELP_ABOUT), static_cast<int>(ID_HELP_ONLINE),
                 static_cast<int>(ID_HELP), 1, 2, 0, 0xFFFF, -1}) {
    SCOPED_TRACE(id);
    uint8_t needsFile = 7;
    EXPECT_STREQ(HelpTable().Lookup(id, &needsFile), kNoHelp);
    EXPECT_EQ(needsFile, 0);
  }
}

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

struct CommandRow {
  const char* step;
  UINT id;  // whose help text help mode shows; 0 for the help-mode toggle itself
  Lines none, loaded, failed;
  bool ends;  // with help mode off, the program ends
};

const std::string kZeros = "box Info: File\\nRows   : 0\\nColumns: 0\\n\\nDisplayed\\nRows   : 0";
const Lines kClose = {"title Lintaro by Quorvel", "exit"};

const CommandRow kCommands[] = {
    {"menu ID_FILE_OPEN",
     ID_FILE_OPEN,
     {"filedialog none"},
     {"filedialog f.qdx"},
     {"filedialog missing.qdx"},
     false},
    {"menu ID_FILE_EXIT", ID_FILE_EXIT, {"exit"}, kClose, kClose, true},
    {"menu ID_VIEW_INFO",
     ID_VIEW_INFO,
     {kOpenFirst},
     {"box Info: File\\nRows   : 1\\nColumns: 2\\n\\nDisplayed\\nRows   : 1"},
     {kZeros},
     false},
    {"menu ID_VIEW_HEADERS",
     ID_VIEW_HEADERS,
     {kOpenFirst},
     {"title Displaying all...", "title f.qdx"},
     {"title Displaying all...", "title missing.qdx"},
     false},
    {"menu ID_VIEW_FIND",
     ID_VIEW_FIND,
     {kOpenFirst},
     {"dialog Find: a;b selected 0"},
     {"dialog Find: selected none"},
     false},
    {"menu ID_VIEW_PICK",
     ID_VIEW_PICK,
     {kOpenFirst},
     {"dialog Pick: a;b selected 0"},
     {"dialog Pick: selected none"},
     false},
    {"menu ID_VIEW_DUPLICATES",
     ID_VIEW_DUPLICATES,
     {kOpenFirst},
     {"dialog Pick duplicates: a;b selected 0"},
     {"dialog Pick duplicates: selected none"},
     false},
    // Every row is listed after a load; a failed first load never listed anything.
    {"menu ID_VIEW_ALL",
     ID_VIEW_ALL,
     {kOpenFirst},
     {},
     {"title Displaying all...", "title missing.qdx"},
     false},
    {"menu ID_OPTIONS_SAVE_SETTINGS", ID_OPTIONS_SAVE_SETTINGS, {}, {}, {}, false},
    {"menu ID_OPTIONS_REGISTER", ID_OPTIONS_REGISTER, {}, {}, {}, false},
    {"menu ID_OPTIONS_UNREGISTER", ID_OPTIONS_UNREGISTER, {}, {}, {}, false},
    {"menu ID_HELP_ONLINE", 0, {kHelpOn}, {kHelpOn}, {kHelpOn}, false},
    {"menu ID_HELP_ABOUT", ID_HELP_ABOUT, {"about"}, {"about"}, {"about"}, false},
    {"key Enter", IDOK, {"exit"}, kClose, kClose, true},
    {"key Escape", IDCANCEL, {"exit"}, kClose, kClose, true},
    {"close", IDCANCEL, {"exit"}, kClose, kClose, true},
};

TEST(CommandDispatch, EveryCommandWithHelpModeOffAndOn) {
  TempDir dir;
  dir.Write("f.qdx", "a;b\n1;2\n");
  for (const CommandRow& c : kCommands) {
    for (Table table : {Table::None, Table::Loaded, Table::Failed}) {
      const char* name = table == Table::None     ? "no table"
                         : table == Table::Loaded ? "loaded"
                                                  : "failed";
      SCOPED_TRACE(std::string(c.step) + ", " + name);
      Lines off = table == Table::None ? c.none : table == Table::Loaded ? c.loaded : c.failed;
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

TEST(CommandDispatch, CheckTogglesAndHelpModeLeaveTheChecksAlone) {
  TempDir dir;
  ScriptOutput run = RunScript(dir,
                               "start\n"
                               "menu ID_OPTIONS_SAVE_SETTINGS\ndump\n"
                               "menu ID_HELP_ONLINE\ndump\n"
                               "menu ID_OPTIONS_SAVE_SETTINGS\nmenu ID_VIEW_HEADERS\ndump\n"
                               "menu ID_HELP_ONLINE\ndump\n"
                               "menu ID_OPTIONS_SAVE_SETTINGS\ndump\n");
  Transcript t = ReadTranscript(run.out);
  Lines checks;
  for (const Dump& d : t.dumps)
    checks.push_back(d.checks);
  EXPECT_EQ(checks,
            (Lines{"headers=1 save=1 help=0", "headers=1 save=1 help=1", "headers=1 save=1 help=1",
                   "headers=1 save=1 help=0", "headers=1 save=0 help=0"}));
  EXPECT_EQ(t.events, (Lines{kHelpOn, HelpBox(HelpTextOf(ID_OPTIONS_SAVE_SETTINGS)),
                             HelpBox(HelpTextOf(ID_VIEW_HEADERS))}));
}

// Accelerators skip help mode, but those of needs-a-file commands still need a table.
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
      {"key Ctrl+H", {kOpenFirst}, {"title Displaying all...", "title f.qdx"}},
      {"key Ctrl+F", {kOpenFirst}, {"dialog Find: a;b selected 0"}},
      {"key Ctrl+P", {kOpenFirst}, {"dialog Pick: a;b selected 0"}},
      {"key Ctrl+D", {kOpenFirst}, {"dialog Pick duplicates: a;b selected 0"}},
      {"key Ctrl+A", {kOpenFirst}, {}},
      {"key Ctrl+B", {}, {}},
      {"key Ctrl+X", {}, {}},
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

TEST(CommandDispatch, SystemCommands16To31OpenAboutInAnyMode) {
  TempDir dir;
  struct {
    int command;
    Lines off, on;
  } const cases[] = {
      {15, {}, {}},
      {16, {"about"}, {"about"}},
      {17, {"about"}, {"about"}},
      {31, {"about"}, {"about"}},
      {32, {}, {}},
      // The close box's system command becomes Cancel, which help mode stops.
      {0xF060, {"exit"}, {HelpBox(kNoHelp)}},
  };
  for (const auto& c : cases) {
    for (bool helpMode : {false, true}) {
      SCOPED_TRACE(std::to_string(c.command) + (helpMode ? ", help mode" : ""));
      Lines expected = helpMode ? c.on : c.off;
      expected.push_back(!helpMode && c.command == 0xF060 ? "error: not running" : "about");
      EXPECT_EQ(AfterStep(dir, Table::None, helpMode, "syscommand " + std::to_string(c.command)),
                expected);
    }
  }
}

}  // namespace
