#include "RemoteProgram.h"

#include <commctrl.h>
#include <shlobj.h>

#include <cstring>
#include <vector>

#include "app/Resource.h"

namespace {
constexpr size_t kTextRoom = 1024;

std::string Utf8(const wchar_t* wide) {
  int length = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<size_t>(length > 0 ? length : 1), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), length, nullptr, nullptr);
  text.resize(std::strlen(text.c_str()));
  return text;
}

std::string ClassOf(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

std::string ProgramBesideUs() {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, sizeof self);
  std::string path = self;
  return path.substr(0, path.find_last_of('\\')) + "\\lintaro.exe";
}

struct Search {
  DWORD process;
  std::function<bool(HWND)> wanted;
  HWND found = nullptr;
};

BOOL CALLBACK Visit(HWND window, LPARAM lParam) {
  auto* search = reinterpret_cast<Search*>(lParam);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->process || !IsWindowVisible(window) || ClassOf(window) != "#32770" ||
      !search->wanted(window)) {
    return TRUE;
  }
  search->found = window;
  return FALSE;
}

HWND FindTop(DWORD process, std::function<bool(HWND)> wanted) {
  Search search{process, std::move(wanted)};
  EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
  return search.found;
}
}  // namespace

bool WaitFor(const std::function<bool()>& done, int ms) {
  for (int waited = 0; !done(); waited += 20) {
    if (waited >= ms)
      return false;
    Sleep(20);
  }
  return true;
}

std::string WindowText(HWND window) {
  char text[1024] = {};
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                      SMTO_ABORTIFHUNG, 5000, nullptr);
  return text;
}

RemoteProgram::~RemoteProgram() {
  if (Running()) {
    TerminateProcess(process_.hProcess, 1);
    WaitForSingleObject(process_.hProcess, 5000);
  }
  if (process_.hProcess) {
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
  }
}

bool RemoteProgram::Start(const std::string& tail) {
  return Start(ProgramBesideUs(), tail, "");
}

bool RemoteProgram::Start(const std::string& path, const std::string& tail,
                          const std::string& folder) {
  std::string line = "\"" + path + "\"" + (tail.empty() ? "" : " " + tail);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessA(path.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &process_)) {
    return false;
  }
  WaitForInputIdle(process_.hProcess, 10000);
  remote_ =
      VirtualAllocEx(process_.hProcess, nullptr, sizeof(LVITEMW) + kTextRoom * sizeof(wchar_t),
                     MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  return remote_ != nullptr;
}

bool RemoteProgram::Running() const {
  return process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

bool RemoteProgram::WaitForExit(int ms) {
  return WaitForSingleObject(process_.hProcess, static_cast<DWORD>(ms)) == WAIT_OBJECT_0;
}

HWND RemoteProgram::Main(int ms) {
  WaitFor(
      [&] {
        main_ = FindTop(process_.dwProcessId,
                        [](HWND w) { return GetWindow(w, GW_OWNER) == nullptr && GetMenu(w); });
        return main_ != nullptr;
      },
      ms);
  return main_;
}

HWND RemoteProgram::Dialog(const std::string& caption, int ms) const {
  HWND found = nullptr;
  WaitFor(
      [&] {
        found = FindTop(process_.dwProcessId, [&](HWND w) { return WindowText(w) == caption; });
        return found != nullptr;
      },
      ms);
  return found;
}

std::string RemoteProgram::Statics(HWND dialog) {
  std::string texts;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    std::string text = WindowText(child);
    if (ClassOf(child) != "Static" || text.empty())
      continue;
    if (!texts.empty())
      texts += '|';
    texts += text;
  }
  return texts;
}

void RemoteProgram::Command(unsigned id) {
  PostMessageA(main_, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

void RemoteProgram::Keys(std::initializer_list<WORD> keys) {
  SetForegroundWindow(main_);
  SetFocus(List());
  std::vector<INPUT> inputs;
  for (bool up : {false, true}) {
    for (size_t i = 0; i < keys.size(); ++i) {
      INPUT input{};
      input.type = INPUT_KEYBOARD;
      // Pressed in order, released in the reverse order.
      input.ki.wVk = up ? *(keys.end() - 1 - i) : *(keys.begin() + i);
      input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
      inputs.push_back(input);
    }
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

HWND RemoteProgram::List() {
  return GetDlgItem(main_, IDC_ROWS);
}

int RemoteProgram::ItemCount() {
  return static_cast<int>(SendMessageA(List(), LVM_GETITEMCOUNT, 0, 0));
}

std::vector<std::string> RemoteProgram::Rows(int columns) {
  std::vector<std::string> rows;
  for (int i = 0, n = ItemCount(); i < n; ++i) {
    std::string row;
    for (int k = 0; k < columns; ++k) {
      if (k > 0)
        row += ';';
      row += ItemText(i, k);
    }
    rows.push_back(row);
  }
  return rows;
}

// The request and the text both live in the program's memory: the list writes where its own
// process can. `Request` is LVITEMW or LVCOLUMNW, whose text field the list fills; the answer is
// the message's.
template <typename Request>
LRESULT RemoteProgram::ListText(Request request, UINT message, int index, std::string& text) {
  auto* base = static_cast<char*>(remote_);
  request.pszText = reinterpret_cast<wchar_t*>(base + sizeof(LVITEMW));
  request.cchTextMax = kTextRoom;
  WriteProcessMemory(process_.hProcess, base, &request, sizeof request, nullptr);
  LRESULT answer =
      SendMessageW(List(), message, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(base));
  wchar_t wide[kTextRoom] = {};
  ReadProcessMemory(process_.hProcess, base + sizeof(LVITEMW), wide,
                    (kTextRoom - 1) * sizeof(wchar_t), nullptr);
  text = Utf8(wide);
  return answer;
}

std::string RemoteProgram::ItemText(int item, int column) {
  LVITEMW request{};
  request.iSubItem = column;
  std::string text;
  ListText(request, LVM_GETITEMTEXTW, item, text);  // the answer is the text's length
  return text;
}

std::string RemoteProgram::ColumnTitle(int column) {
  LVCOLUMNW request{};
  request.mask = LVCF_TEXT;
  std::string text;
  return ListText(request, LVM_GETCOLUMNW, column, text) ? text : "(none)";
}

void RemoteProgram::ClickTitle(int column) {
  HWND header = reinterpret_cast<HWND>(SendMessageA(List(), LVM_GETHEADER, 0, 0));
  SendMessageA(header, HDM_GETITEMRECT, static_cast<WPARAM>(column),
               reinterpret_cast<LPARAM>(remote_));
  RECT title{};
  ReadProcessMemory(process_.hProcess, remote_, &title, sizeof title, nullptr);
  LPARAM at = MAKELPARAM((title.left + title.right) / 2, (title.top + title.bottom) / 2);
  PostMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageA(header, WM_LBUTTONUP, 0, at);
}

int RemoteProgram::SortArrow(int column) {
  HWND header = reinterpret_cast<HWND>(SendMessageA(List(), LVM_GETHEADER, 0, 0));
  HDITEMA request{};
  request.mask = HDI_FORMAT;
  WriteProcessMemory(process_.hProcess, remote_, &request, sizeof request, nullptr);
  SendMessageA(header, HDM_GETITEMA, static_cast<WPARAM>(column),
               reinterpret_cast<LPARAM>(remote_));
  ReadProcessMemory(process_.hProcess, remote_, &request, sizeof request, nullptr);
  return (request.fmt & HDF_SORTUP) ? 1 : (request.fmt & HDF_SORTDOWN) ? -1 : 0;
}

// The shell hands over a block of memory: the DROPFILES header, then the names, each ended by a
// NUL, and one more NUL.
void RemoteProgram::DropFile(const std::string& path) {
  std::vector<char> block(sizeof(DROPFILES) + path.size() + 2, '\0');
  DROPFILES header{};
  header.pFiles = sizeof(DROPFILES);
  std::memcpy(block.data(), &header, sizeof header);
  std::memcpy(block.data() + sizeof header, path.c_str(), path.size());
  void* drop = VirtualAllocEx(process_.hProcess, nullptr, block.size(), MEM_COMMIT | MEM_RESERVE,
                              PAGE_READWRITE);
  WriteProcessMemory(process_.hProcess, drop, block.data(), block.size(), nullptr);
  PostMessageA(main_, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
}

void RemoteProgram::DoubleClickItem(int item) {
  RECT row{};
  row.left = LVIR_BOUNDS;
  WriteProcessMemory(process_.hProcess, remote_, &row, sizeof row, nullptr);
  SendMessageA(List(), LVM_GETITEMRECT, static_cast<WPARAM>(item),
               reinterpret_cast<LPARAM>(remote_));
  ReadProcessMemory(process_.hProcess, remote_, &row, sizeof row, nullptr);
  LPARAM at = MAKELPARAM(row.left + 4, (row.top + row.bottom) / 2);
  for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
    PostMessageA(List(), message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, at);
}

int RemoteProgram::Selected() {
  return static_cast<int>(
      SendMessageA(List(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}
