// lintaro-bench: times the big-file operations of the real program.
//
//   lintaro-bench [--parts [--repeat N]] [--sort K] [--pick K] [--match TEXT] [--dup K]
//                 [--save OUT] FILE
//
// Without --parts it runs the whole program headless, through the script driver, as a user would:
// load, two clicks on one column title, Pick, (with --save: Save listed rows as... OUT,) All,
// Duplicates, All, Exit. The times come from what
// the program itself shows: its title changes, its wait cursor, and the moments at which it asks
// for the user's next action.
//
// With --parts it calls the pieces of the load one by one instead (read, CR strip, count and split,
// listing the rows, fitting the widths), plus the cost of fetching every cell through the list.
//
// Each mode is meant to run in a process of its own, so that its peak memory is its own.
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "app/MainWindow.h"
#include "app/Strings.h"
#include "platform/App.h"
#include "platform/Win32.h"
#include "table/TableFile.h"
#include "tools/ScriptDriver.h"
#include "view/RowListView.h"
#include "view/RowOperations.h"

namespace {
using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double>(to - from).count();
}

// Processor time of the whole process: unlike the wall clock, it leaves out the time that other
// programs on a busy machine take.
double CpuNow() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Wall and processor seconds of one stage.
struct Span {
  double wall;
  double cpu;
};

// The most resident memory the process has had so far.
double PeakMiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

double CurrentMiB() {
  std::ifstream statm("/proc/self/statm");
  long size = 0, resident = 0;
  statm >> size >> resident;
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) /
         (1024.0 * 1024.0);
}

void PrintHeader() {
  std::printf("%-40s %8s %8s %8s %8s\n", "stage", "wall s", "cpu s", "RSS MiB", "peak MiB");
}

void PrintRow(const std::string& stage, Span span, double rss, double peak) {
  std::printf("%-40s %8.3f %8.3f %8.0f %8.0f\n", stage.c_str(), span.wall, span.cpu, rss, peak);
}

struct Options {
  std::string file;
  bool parts = false;
  int sortColumn = 1;
  int pickColumn = 3;
  std::string match = "kiruna";
  int dupColumn = 2;
  int repeat = 1;
  std::string save;  // where the rows that Pick left are saved; empty: not saved
};

// ---- The whole program through the script driver ------------------------------------------

struct Event {
  enum Kind { Title, WaitOn, WaitOff, Asked, Answered } kind;
  Clock::time_point at;
  double cpu;
  std::string text;
  double rss;
  double peak;
};

class TimingDriver : public ScriptDriver {
 public:
  using ScriptDriver::ScriptDriver;

  std::vector<Event> events;

  void Note(Event::Kind kind, std::string text = {}) {
    events.push_back(Event{kind, Clock::now(), CpuNow(), std::move(text), CurrentMiB(), PeakMiB()});
  }

  void WindowTextChanged(CWnd& window) override {
    ScriptDriver::WindowTextChanged(window);
    if (&window == AfxGetApp()->m_pMainWnd)
      Note(Event::Title, window.GetWindowText());
  }

  void WaitCursor(bool on) override { Note(on ? Event::WaitOn : Event::WaitOff); }

 protected:
  bool NextMessage(CDialog& dialog, MSG& msg) override {
    bool main = &dialog == AfxGetApp()->m_pMainWnd;
    if (main)
      Note(Event::Asked);
    bool more = ScriptDriver::NextMessage(dialog, msg);
    if (main && more)
      Note(Event::Answered, Describe(msg));
    return more;
  }

 private:
  static std::string Describe(const MSG& msg) {
    switch (msg.message) {
      case WM_COMMAND:
        return "command " + std::to_string(LOWORD(msg.wParam));
      case WM_KEYDOWN:
        return std::string("key ") + (msg.ctrl ? "Ctrl+" : "") + static_cast<char>(msg.wParam);
      case WM_CONTEXTMENU:
        return "context menu";
      case WM_NOTIFY:
        return "click-title " +
               std::to_string(reinterpret_cast<const NMLISTVIEW*>(msg.lParam)->iSubItem);
      default:
        return "message " + std::to_string(msg.message);
    }
  }
};

// What the user's action that opens a step did, by the message that carried it.
std::string StepName(const std::string& message, const std::string& lastTitle, int& sortClicks) {
  if (message.rfind("click-title", 0) == 0)
    return ++sortClicks % 2 == 1 ? "sort ascending (1st click)" : "sort descending (2nd click)";
  if (lastTitle == "Picking...")
    return "pick";
  if (lastTitle == "Picking duplicates...")
    return "duplicates";
  if (lastTitle == "Saving...")
    return "save listed rows";
  if (lastTitle == "Displaying all...")
    return "all";
  if (lastTitle == "Lintaro by Quorvel")
    return "exit: close the table";
  return {};
}
int RunProgram(const Options& o) {
  std::ostringstream script;
  script << "start " << o.file << "\n"
         << "menu ID_VIEW_INFO\n"
         << "click-title " << o.sortColumn << "\n"
         << "click-title " << o.sortColumn << "\n"
         << "dialog ok field " << o.pickColumn << " match " << o.match << "\n"
         << "key Ctrl+P\n"
         << "menu ID_VIEW_INFO\n";
  if (!o.save.empty())
    script << "save " << o.save << "\n"
           << "key Ctrl+S\n";
  script << "key Ctrl+A\n"
         << "dialog ok field " << o.dupColumn << "\n"
         << "key Ctrl+D\n"
         << "menu ID_VIEW_INFO\n"
         << "key Ctrl+A\n"
         << "menu ID_VIEW_INFO\n"
         << "menu ID_FILE_EXIT\n";
  std::istringstream in(script.str());
  std::ostringstream out, err;
  TimingDriver driver(in, out, err, "lintaro-script");
  Clock::time_point start = Clock::now();
  double startCpu = CpuNow();
  int status = driver.Run();
  Clock::time_point end = Clock::now();
  double endCpu = CpuNow();

  std::printf("What the program printed:\n");
  std::istringstream printed(out.str());
  for (std::string line; std::getline(printed, line);)
    std::printf("  %s\n", line.c_str());
  if (status != 0) {
    std::fprintf(stderr, "lintaro-bench: the script failed (%d): %s\n", status, err.str().c_str());
    return 1;
  }

  std::printf("\n");
  PrintHeader();
  const std::vector<Event>& ev = driver.events;
  // The load runs before the program first asks for an action; it shows "Loading..." once the file
  // is read and split.
  for (const Event& e : ev) {
    if (e.kind == Event::Title && e.text == "Loading...") {
      PrintRow("load: read + strip + split", {Seconds(start, e.at), e.cpu - startCpu}, e.rss,
               e.peak);
      break;
    }
  }
  // Each action runs from the moment the driver hands it over to the moment the program asks for
  // the next one; titles and the wait cursor split it further.
  int sortClicks = 0;
  for (size_t i = 0; i < ev.size(); ++i) {
    if (ev[i].kind == Event::Title && ev[i].text == "Loading..." && i + 1 < ev.size()) {
      PrintRow("load: columns + list rows + fit widths",
               {Seconds(ev[i].at, ev[i + 1].at), ev[i + 1].cpu - ev[i].cpu}, ev[i + 1].rss,
               ev[i + 1].peak);
    }
    if (ev[i].kind != Event::Answered)
      continue;
    size_t j = i + 1;
    std::string lastTitle;
    const Event* waitOn = nullptr;
    const Event* waitOff = nullptr;
    while (j < ev.size() && ev[j].kind != Event::Asked) {
      if (ev[j].kind == Event::Title && lastTitle.empty())
        lastTitle = ev[j].text;
      if (ev[j].kind == Event::WaitOn)
        waitOn = &ev[j];
      if (ev[j].kind == Event::WaitOff)
        waitOff = &ev[j];
      ++j;
    }
    std::string name = StepName(ev[i].text, lastTitle, sortClicks);
    if (name.empty())
      continue;
    Clock::time_point stepEnd = j < ev.size() ? ev[j].at : end;
    double stepEndCpu = j < ev.size() ? ev[j].cpu : endCpu;
    const Event& last = j < ev.size() ? ev[j] : ev.back();
    double rss = j < ev.size() ? last.rss : CurrentMiB();
    double peak = j < ev.size() ? last.peak : PeakMiB();
    PrintRow(name, {Seconds(ev[i].at, stepEnd), stepEndCpu - ev[i].cpu}, rss, peak);
    if (name == "duplicates" && waitOn && waitOff) {
      PrintRow("  of which the sort",
               {Seconds(waitOn->at, waitOff->at), waitOff->cpu - waitOn->cpu}, rss, peak);
      PrintRow("  of which the walk", {Seconds(waitOff->at, stepEnd), stepEndCpu - waitOff->cpu},
               rss, peak);
    }
  }
  PrintRow("whole run", {Seconds(start, end), endCpu - startCpu}, CurrentMiB(), PeakMiB());
  return 0;
}

// ---- The pieces of the load, one by one --------------------------------------------------

class QuietBackend : public HeadlessBackend {
 public:
  int MessageBox(CWnd&, const std::string&, const std::string&, UINT) override { return IDOK; }
  int RunFileDialog(CFileDialog&) override { return IDCANCEL; }

 protected:
  bool NextMessage(CDialog&, MSG&) override { return false; }
};

template <class F>
Span Time(F&& f) {
  Clock::time_point from = Clock::now();
  double fromCpu = CpuNow();
  f();
  return {Seconds(from, Clock::now()), CpuNow() - fromCpu};
}

// Every stage's times over the repetitions, in the order in which the stages first ran.
class Stages {
 public:
  void Add(const std::string& name, Span span) {
    for (auto& [n, spans] : stages_) {
      if (n == name) {
        spans.push_back(span);
        return;
      }
    }
    stages_.push_back({name, {span}});
  }
  // The least time is the best estimate of a stage's own cost on a busy machine.
  void Print() const {
    std::printf("%-40s %10s %10s %10s\n", "stage", "min wall s", "med wall s", "min cpu s");
    for (const auto& [name, spans] : stages_) {
      std::vector<double> wall, cpu;
      for (const Span& s : spans) {
        wall.push_back(s.wall);
        cpu.push_back(s.cpu);
      }
      std::sort(wall.begin(), wall.end());
      std::sort(cpu.begin(), cpu.end());
      std::printf("%-40s %10.3f %10.3f %10.3f\n", name.c_str(), wall.front(), wall[wall.size() / 2],
                  cpu.front());
    }
  }

 private:
  std::vector<std::pair<std::string, std::vector<Span>>> stages_;
};

bool RunPartsOnce(const Options& o, Stages& stages) {
  {
    FileBuffer buffer;
    bool ok = false;
    stages.Add("read (alloc + fread)",
               Time([&] { ok = buffer.LoadFile(o.file.c_str(), false, "\n"); }));
    if (!ok) {
      std::fprintf(stderr, "lintaro-bench: cannot read %s\n", o.file.c_str());
      return false;
    }
    stages.Add("strip CR", Time([&] { buffer.StripCarriageReturns(); }));
  }
  auto* table = new TableFile(kColumnTitleFormat);
  bool parsed = false;
  stages.Add("parse (read + strip + count + split)",
             Time([&] { parsed = table->Parse(o.file.c_str(), false); }));
  if (!parsed) {
    std::fprintf(stderr, "lintaro-bench: cannot parse %s\n", o.file.c_str());
    delete table;
    return false;
  }
  table->headers = true;

  RowListView list;
  list.SetTable(table);
  list.LockWindowUpdate();
  for (int32_t i = 0; i < table->columnCount; ++i)
    list.InsertColumn(i, table->ColumnName(i), LVCFMT_LEFT, 100, -1);
  stages.Add("list rows (SetItemCount + InsertItem)", Time([&] { ListAllRows(list, *table); }));
  stages.Add("fit widths (one pass)", Time([&] {
               for (int32_t i = 0; i < table->columnCount; ++i)
                 list.SetColumnWidth(i, LVSCW_AUTOSIZE);
             }));

  // Every cell once, through the list's text request and straight from the table: the difference
  // is what the LVN_GETDISPINFO round trip costs.
  const int rows = list.GetItemCount();
  size_t sum = 0;
  stages.Add("every cell via GetItemText", Time([&] {
               for (int i = 0; i < rows; ++i)
                 for (int k = 0; k < table->columnCount; ++k)
                   sum += static_cast<unsigned char>(*list.GetItemText(i, k));
             }));
  stages.Add("every cell via FieldText", Time([&] {
               for (int i = 0; i < rows; ++i) {
                 const char* row = reinterpret_cast<const char*>(list.GetItemData(i));
                 for (int k = 0; k < table->columnCount; ++k)
                   sum += static_cast<unsigned char>(*table->FieldText(row, k));
               }
             }));

  // The sorts as the user runs them: from file order, then reversed, then by another column.
  std::string s = std::to_string(o.sortColumn), d = std::to_string(o.dupColumn);
  stages.Add("sort col " + s + " asc, from file order",
             Time([&] { list.SortByColumn(o.sortColumn, 1); }));
  stages.Add("sort col " + s + " desc, from asc",
             Time([&] { list.SortByColumn(o.sortColumn, 0); }));
  stages.Add("sort col " + d + " asc, from col " + s,
             Time([&] { list.SortByColumn(o.dupColumn, 1); }));
  stages.Add("column " + s + " via GetItemText, sorted", Time([&] {
               for (int i = 0; i < rows; ++i)
                 sum += static_cast<unsigned char>(*list.GetItemText(i, o.sortColumn));
             }));
  list.DeleteAllItems();
  stages.Add("list rows again (like All)", Time([&] { ListAllRows(list, *table); }));
  CWnd::UnlockWindowUpdate();
  stages.Add("close", Time([&] {
               list.DeleteAllItems();
               delete table;
             }));
  if (sum == 1)
    std::printf("\n");  // keeps the fetches from being optimised away
  return true;
}

int RunParts(const Options& o) {
  QuietBackend backend;
  SetBackend(&backend);
  Stages stages;
  for (int r = 0; r < o.repeat; ++r) {
    if (!RunPartsOnce(o, stages))
      return 1;
  }
  stages.Print();
  std::printf("peak RSS %.0f MiB\n", PeakMiB());
  return 0;
}

int Usage() {
  std::fprintf(
      stderr,
      "usage: lintaro-bench [--parts [--repeat N]] [--sort K] [--pick K] [--match TEXT] [--dup K] "
      "[--save OUT] [--repeat N] FILE\n");
  return 2;
}
}  // namespace

int main(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    bool hasValue = i + 1 < argc;
    if (a == "--parts") {
      o.parts = true;
    } else if (a == "--sort" && hasValue) {
      o.sortColumn = std::atoi(argv[++i]);
    } else if (a == "--pick" && hasValue) {
      o.pickColumn = std::atoi(argv[++i]);
    } else if (a == "--match" && hasValue) {
      o.match = argv[++i];
    } else if (a == "--repeat" && hasValue) {
      o.repeat = std::max(1, std::atoi(argv[++i]));
    } else if (a == "--dup" && hasValue) {
      o.dupColumn = std::atoi(argv[++i]);
    } else if (a == "--save" && hasValue) {
      o.save = argv[++i];
    } else if (a[0] != '-' && o.file.empty()) {
      o.file = a;
    } else {
      return Usage();
    }
  }
  if (o.file.empty())
    return Usage();
  // The program keeps its settings under the config folder; a benchmark leaves the user's alone.
  char folder[] = "/tmp/lintaro-bench-XXXXXX";
  bool ownFolder = !std::getenv("XDG_CONFIG_HOME") && mkdtemp(folder);
  if (ownFolder)
    setenv("XDG_CONFIG_HOME", folder, 1);
  int status = o.parts ? RunParts(o) : RunProgram(o);
  if (ownFolder)
    rmdir(folder);  // only when the program left nothing in it
  return status;
}
