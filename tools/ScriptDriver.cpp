#include "tools/ScriptDriver.h"

#include <cstdlib>
#include <sstream>
#include <utility>

#include "app/MainWindow.h"
#include "app/Resource.h"
#include "app/ViewerApp.h"
#include "platform/Button.h"
#include "platform/ComboBox.h"
#include "platform/Edit.h"
#include "platform/FileDialog.h"

namespace {
struct NamedCommand {
  const char* name;
  unsigned id;
};

const NamedCommand kCommands[] = {
    {"ID_FILE_OPEN", ID_FILE_OPEN},
    {"ID_FILE_EXIT", ID_FILE_EXIT},
    {"ID_VIEW_INFO", ID_VIEW_INFO},
    {"ID_VIEW_HEADERS", ID_VIEW_HEADERS},
    {"ID_VIEW_FIND", ID_VIEW_FIND},
    {"ID_VIEW_PICK", ID_VIEW_PICK},
    {"ID_VIEW_DUPLICATES", ID_VIEW_DUPLICATES},
    {"ID_VIEW_ALL", ID_VIEW_ALL},
    {"ID_OPTIONS_SAVE_SETTINGS", ID_OPTIONS_SAVE_SETTINGS},
    {"ID_OPTIONS_REGISTER", ID_OPTIONS_REGISTER},
    {"ID_OPTIONS_UNREGISTER", ID_OPTIONS_UNREGISTER},
    {"ID_HELP_ONLINE", ID_HELP_ONLINE},
    {"ID_HELP_ABOUT", ID_HELP_ABOUT},
};

// A whole decimal number, optionally signed; nothing else on the text.
bool ParseInt(const std::string& text, long& value) {
  if (text.empty())
    return false;
  char* end = nullptr;
  value = std::strtol(text.c_str(), &end, 10);
  return end && *end == '\0';
}

void SplitVerb(const std::string& line, std::string& verb, std::string& rest) {
  size_t blank = line.find(' ');
  verb = line.substr(0, blank);
  rest = blank == std::string::npos ? std::string() : line.substr(blank + 1);
}

bool IsChecked(CWnd& window, unsigned id) {
  CMenu* menu = window.GetMenu();
  return menu && (menu->GetMenuState(id, MF_BYCOMMAND) & MF_CHECKED);
}
}  // namespace

ScriptDriver::ScriptDriver(std::istream& script, std::ostream& out, std::ostream& err,
                           std::string programPath)
    : script_(script), out_(out), err_(err), programPath_(std::move(programPath)) {}

std::string ScriptDriver::Escape(const std::string& text) const {
  std::string escaped;
  for (char c : text) {
    if (c == '\n') {
      escaped += "\\n";
    } else {
      escaped += c;
    }
  }
  return escaped;
}

bool ScriptDriver::ReadLine(std::string& line) {
  while (std::getline(script_, line)) {
    ++lineNumber_;
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    if (line.empty() || line[0] == '#')
      continue;
    return true;
  }
  return false;
}

int ScriptDriver::Run() {
  std::string line;
  MSG msg;
  while (status_ == 0 && ReadLine(line)) {
    if (Step(line, msg) == StepResult::Stop)
      break;
  }
  out_.flush();
  return status_;
}

ScriptDriver::StepResult ScriptDriver::Unparsable() {
  err_ << "lintaro-script: line " << lineNumber_ << ": cannot parse this step\n";
  status_ = 2;
  return StepResult::Stop;
}

MainWindow* ScriptDriver::Window() const {
  CWinApp* app = AfxGetApp();
  return app ? dynamic_cast<MainWindow*>(app->m_pMainWnd) : nullptr;
}

ScriptDriver::StepResult ScriptDriver::Step(const std::string& line, MSG& msg) {
  std::string verb, rest;
  SplitVerb(line, verb, rest);
  if (verb == "start") {
    if (running_) {
      out_ << "error: already running\n";
      return StepResult::Done;
    }
    Start(rest);
    return status_ == 0 ? StepResult::Done : StepResult::Stop;
  }
  if (verb == "dialog") {
    DialogAnswer answer;
    if (!ParseDialogAnswer(rest, answer))
      return Unparsable();
    dialogAnswers_.push_back(answer);
    return StepResult::Done;
  }
  if (verb == "file") {
    if (rest.empty())
      return Unparsable();
    fileAnswers_.push_back(rest == "cancel" ? FileAnswer{false, ""} : FileAnswer{true, rest});
    return StepResult::Done;
  }
  return WindowStep(verb, rest, msg);
}

ScriptDriver::StepResult ScriptDriver::WindowStep(const std::string& verb, const std::string& rest,
                                                  MSG& msg) {
  MainWindow* window = running_ ? Window() : nullptr;
  long n = 0;
  msg = MSG{window, WM_NULL, 0, 0, false};
  if (verb == "dump") {
    if (!rest.empty())
      return Unparsable();
    if (!window) {
      out_ << "error: not running\n";
      return StepResult::Done;
    }
    Dump();
    return StepResult::Done;
  }
  if (verb == "menu") {
    const NamedCommand* command = nullptr;
    for (const NamedCommand& c : kCommands) {
      if (rest == c.name)
        command = &c;
    }
    if (!command)
      return Unparsable();
    msg.message = WM_COMMAND;
    msg.wParam = MAKEWPARAM(static_cast<WORD>(command->id), NOTIFY_MENU);
  } else if (verb == "key") {
    msg.message = WM_KEYDOWN;
    msg.hwnd = window ? &window->list : nullptr;
    if (rest == "Enter") {
      msg.wParam = VK_RETURN;
    } else if (rest == "Escape") {
      msg.wParam = VK_ESCAPE;
    } else if (rest.size() == 6 && rest.compare(0, 5, "Ctrl+") == 0 &&
               std::isalpha(static_cast<unsigned char>(rest[5]))) {
      msg.wParam = static_cast<WPARAM>(std::toupper(static_cast<unsigned char>(rest[5])));
      msg.ctrl = true;
    } else {
      return Unparsable();
    }
  } else if (verb == "close") {
    if (!rest.empty())
      return Unparsable();
    msg.message = WM_SYSCOMMAND;
    msg.wParam = SC_CLOSE;
  } else if (verb == "syscommand") {
    if (!ParseInt(rest, n) || n < 0)
      return Unparsable();
    msg.message = WM_SYSCOMMAND;
    msg.wParam = static_cast<WPARAM>(n);
  } else if (verb == "click-title") {
    if (!ParseInt(rest, n) || n < 0)
      return Unparsable();
    msg.message = WM_NOTIFY;
    msg.wParam = IDC_ROWS;
    columnClick_ = NMLISTVIEW();
    columnClick_.hdr = NMHDR{window ? &window->list : nullptr, IDC_ROWS, LVN_COLUMNCLICK};
    columnClick_.iSubItem = static_cast<int>(n);
    msg.lParam = reinterpret_cast<LPARAM>(&columnClick_);
  } else if (verb == "select") {
    if (rest != "none" && (!ParseInt(rest, n) || n < 0))
      return Unparsable();
    msg.hwnd = window ? &window->list : nullptr;
    msg.message = WM_LBUTTONDOWN;
    msg.lParam = rest == "none" ? -1 : n;
  } else if (verb == "placement") {
    std::istringstream fields(rest);
    long show, l, t, r, b;
    std::string extra;
    if (!(fields >> show >> l >> t >> r >> b) || (fields >> extra))
      return Unparsable();
    if (window) {
      WINDOWPLACEMENT placement;
      window->GetWindowPlacement(&placement);
      placement.showCmd = static_cast<UINT>(show);
      placement.rcNormalPosition = RECT{static_cast<LONG>(l), static_cast<LONG>(t),
                                        static_cast<LONG>(r), static_cast<LONG>(b)};
      window->SetWindowPlacement(&placement);
    }
    msg.message = WM_PAINT;
  } else {
    return Unparsable();
  }
  if (!window) {
    out_ << "error: not running\n";
    return StepResult::Done;
  }
  return StepResult::Message;
}

bool ScriptDriver::ParseDialogAnswer(const std::string& rest, DialogAnswer& answer) {
  std::string word, tail;
  SplitVerb(rest, word, tail);
  if (word == "fail") {
    answer.kind = DialogAnswer::Fail;
    return tail.empty();
  }
  if (word != "ok" && word != "cancel")
    return false;
  answer.kind = word == "ok" ? DialogAnswer::Ok : DialogAnswer::Cancel;
  while (!tail.empty()) {
    SplitVerb(tail, word, tail);
    long n = 0;
    if (word == "field") {
      std::string number;
      SplitVerb(tail, number, tail);
      if (!ParseInt(number, n))
        return false;
      answer.field = static_cast<int>(n);
    } else if (word == "exact" && answer.kind == DialogAnswer::Ok) {
      answer.exact = true;
    } else if (word == "match" && answer.kind == DialogAnswer::Ok) {
      answer.match = tail;
      tail.clear();
    } else {
      return false;
    }
  }
  return true;
}

void ScriptDriver::Start(const std::string& tail) {
  running_ = true;
  killed_ = false;
  ViewerApp::Instance();
  AfxWinMain(*this, programPath_, ApplicationName(programPath_) + " " + tail);
  running_ = false;
  if (!killed_)
    out_ << "exit\n";
}

bool ScriptDriver::NextMessage(CDialog& dialog, MSG& msg) {
  if (&dialog != Window())
    return AnswerFieldChooser(dialog, msg);
  std::string line;
  while (status_ == 0 && ReadLine(line)) {
    StepResult result = Step(line, msg);
    if (result == StepResult::Message)
      return true;
    if (result == StepResult::Stop)
      break;
  }
  killed_ = true;
  return false;
}

bool ScriptDriver::IsFieldChooser(const CDialog& dialog) {
  return dialog.TemplateId() == IDD_FIELD_QUERY || dialog.TemplateId() == IDD_DUPLICATES;
}

bool ScriptDriver::CanShow(CDialog& dialog) {
  if (!IsFieldChooser(dialog) || dialogAnswers_.empty())
    return true;
  if (dialogAnswers_.front().kind != DialogAnswer::Fail)
    return true;
  dialogAnswers_.pop_front();
  return false;
}

void ScriptDriver::ShowDialogWindow(CDialog& dialog) {
  freshDialog_ = &dialog;
}

// A field chooser prints itself once its list is filled, then the queued answer plays: pick,
// check, type, and OK or Cancel. A dialog that is still open after that is cancelled.
bool ScriptDriver::AnswerFieldChooser(CDialog& dialog, MSG& msg) {
  bool fresh = freshDialog_ == &dialog;
  freshDialog_ = nullptr;
  int button = IDCANCEL;
  if (fresh && dialog.TemplateId() == IDD_ABOUT) {
    out_ << "about\n";
    button = IDOK;
  } else if (fresh && IsFieldChooser(dialog)) {
    auto* field = dynamic_cast<CComboBox*>(dialog.GetDlgItem(IDC_FIELD));
    out_ << "dialog " << dialog.GetWindowText() << ":";
    for (int i = 0; field && i < field->GetCount(); ++i) {
      out_ << (i == 0 ? " " : ";") << field->GetItemText(i);
    }
    int selected = field ? field->GetCurSel() : CB_ERR;
    out_ << " selected ";
    if (selected == CB_ERR) {
      out_ << "none\n";
    } else {
      out_ << selected << "\n";
    }
    if (dialogAnswers_.empty()) {
      out_ << "error: no answer\n";
    } else {
      DialogAnswer answer = dialogAnswers_.front();
      dialogAnswers_.pop_front();
      if (answer.field && field)
        field->Pick(*answer.field);
      auto* exact = dynamic_cast<CButton*>(dialog.GetDlgItem(IDC_EXACT));
      if (answer.exact && exact)
        exact->Click();
      auto* match = dynamic_cast<CEdit*>(dialog.GetDlgItem(IDC_MATCH));
      if (answer.match && match)
        match->Type(*answer.match);
      if (answer.kind == DialogAnswer::Ok)
        button = IDOK;
    }
  }
  msg = MSG{&dialog, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(button), BN_CLICKED),
            reinterpret_cast<LPARAM>(dialog.GetDlgItem(button)), false};
  return true;
}

int ScriptDriver::MessageBox(CWnd& /*owner*/, const std::string& text, const std::string& caption,
                             UINT /*type*/) {
  out_ << "box " << caption << ": " << Escape(text) << "\n";
  return IDOK;
}

int ScriptDriver::RunFileDialog(CFileDialog& dialog) {
  const char* initial = dialog.m_ofn.lpstrInitialDir;
  out_ << "filedialog " << (initial ? initial : "none") << "\n";
  if (fileAnswers_.empty()) {
    out_ << "error: no answer\n";
    return IDCANCEL;
  }
  FileAnswer answer = fileAnswers_.front();
  fileAnswers_.pop_front();
  if (!answer.ok)
    return IDCANCEL;
  dialog.SetPathName(answer.path);
  return IDOK;
}

void ScriptDriver::WindowTextChanged(CWnd& window) {
  if (&window == Window())
    out_ << "title " << Escape(window.GetWindowText()) << "\n";
}

void ScriptDriver::Dump() {
  MainWindow* window = Window();
  RowListView& list = window->list;
  out_ << "window " << Escape(window->GetWindowText()) << "\n";
  out_ << "checks headers=" << IsChecked(*window, ID_VIEW_HEADERS)
       << " save=" << IsChecked(*window, ID_OPTIONS_SAVE_SETTINGS)
       << " help=" << IsChecked(*window, ID_HELP_ONLINE) << "\n";
  WINDOWPLACEMENT placement;
  window->GetWindowPlacement(&placement);
  const RECT& r = placement.rcNormalPosition;
  out_ << "placement " << placement.showCmd << " " << r.left << " " << r.top << " " << r.right
       << " " << r.bottom << "\n";
  int columns = list.GetColumnCount();
  out_ << "columns " << columns << ":";
  for (int k = 0; k < columns; ++k)
    out_ << (k == 0 ? " " : ";") << list.GetColumnHeading(k);
  out_ << "\n";
  int selected = list.GetNextItem(-1, LVNI_SELECTED);
  out_ << "rows " << list.GetItemCount() << " selected ";
  if (selected < 0) {
    out_ << "none\n";
  } else {
    out_ << selected << "\n";
  }
  for (int i = 0; i < list.GetItemCount(); ++i) {
    out_ << "row ";
    for (int k = 0; k < columns; ++k)
      out_ << (k == 0 ? "" : ";") << list.GetItemText(i, k);
    out_ << "\n";
  }
}
