#include "tools/ScriptDriver.h"

#include <utility>

#include "app/MainWindow.h"
#include "app/Resource.h"
#include "app/ViewerApp.h"
#include "platform/Button.h"
#include "platform/ComboBox.h"
#include "platform/Edit.h"
#include "platform/FileDialog.h"
#include "tools/ScriptParser.h"

ScriptDriver::ScriptDriver(std::istream& script, std::ostream& out, std::ostream& err,
                           std::string programPath)
    : script_(script), print_(out), err_(err), programPath_(std::move(programPath)) {}

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
    if (Play(line, msg) == Outcome::Stop)
      break;
  }
  print_.Flush();
  return status_;
}

ScriptDriver::Outcome ScriptDriver::Unparsable() {
  err_ << "lintaro-script: line " << lineNumber_ << ": cannot parse this step\n";
  status_ = 2;
  return Outcome::Stop;
}

MainWindow* ScriptDriver::Window() const {
  CWinApp* app = AfxGetApp();
  return app ? dynamic_cast<MainWindow*>(app->m_pMainWnd) : nullptr;
}

ScriptDriver::Outcome ScriptDriver::Play(const std::string& line, MSG& msg) {
  ScriptStep step;
  if (!ParseStep(line, step))
    return Unparsable();
  switch (step.kind) {
    case ScriptStep::Kind::Start:
      if (running_) {
        print_.Error("already running");
        return Outcome::Done;
      }
      Start(step.tail);
      return status_ == 0 ? Outcome::Done : Outcome::Stop;
    case ScriptStep::Kind::Dialog:
      dialogAnswers_.push_back(step.dialog);
      return Outcome::Done;
    case ScriptStep::Kind::File:
      fileAnswers_.push_back(step.file);
      return Outcome::Done;
    case ScriptStep::Kind::RegShow:
      print_.RegistryKey(step.keyName, step.root, step.keyPath);
      return Outcome::Done;
    case ScriptStep::Kind::RegSet:
      SetRegistryValue(step);
      return Outcome::Done;
    case ScriptStep::Kind::RegDelete:
      RegDeleteTreeA(step.root, step.keyPath.c_str());
      return Outcome::Done;
    default:
      return WindowStep(step, msg);
  }
}

ScriptDriver::Outcome ScriptDriver::WindowStep(const ScriptStep& step, MSG& msg) {
  MainWindow* window = running_ ? Window() : nullptr;
  if (!window) {
    print_.Error("not running");
    return Outcome::Done;
  }
  msg = MSG{window, WM_NULL, 0, 0, false};
  switch (step.kind) {
    case ScriptStep::Kind::Dump:
      print_.Dump(*window);
      return Outcome::Done;
    case ScriptStep::Kind::Menu:
      msg.message = WM_COMMAND;
      msg.wParam = MAKEWPARAM(static_cast<WORD>(step.command), NOTIFY_MENU);
      break;
    case ScriptStep::Kind::Key:
      msg = MSG{&window->list, WM_KEYDOWN, step.key, 0, step.ctrl};
      break;
    case ScriptStep::Kind::Close:
      msg.message = WM_SYSCOMMAND;
      msg.wParam = SC_CLOSE;
      break;
    case ScriptStep::Kind::SysCommand:
      msg.message = WM_SYSCOMMAND;
      msg.wParam = static_cast<WPARAM>(step.number);
      break;
    case ScriptStep::Kind::ClickTitle:
      columnClick_ = NMLISTVIEW();
      columnClick_.hdr = NMHDR{&window->list, IDC_ROWS, LVN_COLUMNCLICK};
      columnClick_.iSubItem = static_cast<int>(step.number);
      msg = MSG{window, WM_NOTIFY, IDC_ROWS, reinterpret_cast<LPARAM>(&columnClick_), false};
      break;
    case ScriptStep::Kind::Select:
      msg = MSG{&window->list, WM_LBUTTONDOWN, 0, step.number, false};
      break;
    case ScriptStep::Kind::Placement: {
      WINDOWPLACEMENT placement;
      window->GetWindowPlacement(&placement);
      placement.showCmd = step.placement.showCmd;
      placement.rcNormalPosition = step.placement.rcNormalPosition;
      window->SetWindowPlacement(&placement);
      // The window repaints where the user left it.
      msg.message = WM_PAINT;
      break;
    }
    default:
      return Outcome::Done;
  }
  return Outcome::Message;
}

void ScriptDriver::SetRegistryValue(const ScriptStep& step) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(step.root, step.keyPath.c_str(), 0, "", REG_OPTION_NON_VOLATILE,
                      KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return;
  }
  const RegistryValue& value = step.value;
  RegSetValueExA(key, value.name.c_str(), 0, value.type, value.data.data(),
                 static_cast<DWORD>(value.data.size()));
  RegCloseKey(key);
}

void ScriptDriver::Start(const std::string& tail) {
  running_ = true;
  killed_ = false;
  ViewerApp::Instance();
  AfxWinMain(*this, programPath_, ApplicationName(programPath_) + " " + tail);
  running_ = false;
  if (!killed_)
    print_.Exit();
}

bool ScriptDriver::NextMessage(CDialog& dialog, MSG& msg) {
  if (&dialog != Window())
    return AnswerDialog(dialog, msg);
  std::string line;
  while (status_ == 0 && ReadLine(line)) {
    Outcome outcome = Play(line, msg);
    if (outcome == Outcome::Message)
      return true;
    if (outcome == Outcome::Stop)
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

// A dialog that has just opened prints itself and plays its answer; one that is still open after
// that is cancelled.
bool ScriptDriver::AnswerDialog(CDialog& dialog, MSG& msg) {
  bool fresh = freshDialog_ == &dialog;
  freshDialog_ = nullptr;
  int button = IDCANCEL;
  if (fresh && dialog.TemplateId() == IDD_ABOUT) {
    print_.About();
    button = IDOK;
  } else if (fresh && IsFieldChooser(dialog)) {
    AnswerFieldChooser(dialog, button);
  }
  msg = MSG{&dialog, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(button), BN_CLICKED),
            reinterpret_cast<LPARAM>(dialog.GetDlgItem(button)), false};
  return true;
}

// The chooser prints its list, then the queued answer plays: pick, check, type, and the button.
void ScriptDriver::AnswerFieldChooser(CDialog& dialog, int& button) {
  auto* field = dynamic_cast<CComboBox*>(dialog.GetDlgItem(IDC_FIELD));
  if (field)
    print_.FieldChooser(dialog.GetWindowText(), *field);
  if (dialogAnswers_.empty()) {
    print_.Error("no answer");
    return;
  }
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

int ScriptDriver::MessageBox(CWnd& /*owner*/, const std::string& text, const std::string& caption,
                             UINT /*type*/) {
  print_.Box(caption, text);
  return IDOK;
}

int ScriptDriver::RunFileDialog(CFileDialog& dialog) {
  print_.FileDialog(dialog.m_ofn.lpstrInitialDir);
  if (fileAnswers_.empty()) {
    print_.Error("no answer");
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
    print_.Title(window.GetWindowText());
}
