#include "tools/ScriptSession.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "app/MainWindow.h"
#include "app/Resource.h"
#include "app/ViewerApp.h"
#include "platform/ComboBox.h"
#include "platform/FileDialog.h"
#include "platform/Menu.h"
#include "tools/ScriptParser.h"

ScriptSession::ScriptSession(std::istream& script, std::ostream& out, std::ostream& err,
                             std::string programPath)
    : script_(script), print_(out), err_(err), programPath_(std::move(programPath)) {}

bool ScriptSession::ReadLine(std::string& line) {
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

int ScriptSession::Run(Backend& backend, ClipboardReader readClipboard) {
  backend_ = &backend;
  readClipboard_ = std::move(readClipboard);
  std::string line;
  ScriptStep step;
  while (status_ == 0 && ReadLine(line)) {
    if (Play(line, step) == Outcome::Stop)
      break;
  }
  print_.Flush();
  return status_;
}

bool ScriptSession::NextWindowStep(ScriptStep& step) {
  std::string line;
  while (status_ == 0 && ReadLine(line)) {
    Outcome outcome = Play(line, step);
    if (outcome == Outcome::WindowStep)
      return true;
    if (outcome == Outcome::Stop)
      break;
  }
  killed_ = true;
  return false;
}

ScriptSession::Outcome ScriptSession::Unparsable() {
  err_ << "lintaro-script: line " << lineNumber_ << ": cannot parse this step\n";
  status_ = 2;
  return Outcome::Stop;
}

MainWindow* ScriptSession::Window() const {
  CWinApp* app = running_ ? AfxGetApp() : nullptr;
  return app ? dynamic_cast<MainWindow*>(app->m_pMainWnd) : nullptr;
}

ScriptSession::Outcome ScriptSession::Play(const std::string& line, ScriptStep& step) {
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
    case ScriptStep::Kind::Save:
      saveAnswers_.push_back(step.save);
      return Outcome::Done;
    case ScriptStep::Kind::GoTo:
      goToAnswers_.push_back(step.goTo);
      return Outcome::Done;
    case ScriptStep::Kind::Pick:
      picks_.push_back(step.command);
      return Outcome::Done;
    case ScriptStep::Kind::Clipboard:
      print_.Clipboard(readClipboard_ ? readClipboard_() : std::nullopt);
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
    case ScriptStep::Kind::Remove: {
      // A file that is already gone is gone as the step asks.
      std::error_code error;
      std::filesystem::remove(step.tail, error);
      return Outcome::Done;
    }
    default:
      break;
  }
  MainWindow* window = Window();
  if (!window) {
    print_.Error("not running");
    return Outcome::Done;
  }
  if (step.kind == ScriptStep::Kind::Dump) {
    print_.Dump(*window);
    return Outcome::Done;
  }
  if (step.kind == ScriptStep::Kind::SortArrow) {
    int arrow = window->list.SortArrow();
    int column =
        sortArrowReader_ ? sortArrowReader_(*window, &arrow) : window->list.SortArrowColumn();
    print_.SortArrow(column, arrow);
    return Outcome::Done;
  }
  if (step.kind == ScriptStep::Kind::Drop) {
    // The desktop hands over full paths.
    std::error_code error;
    std::filesystem::path full = std::filesystem::absolute(step.tail, error);
    if (!error)
      step.tail = full.string();
  }
  return Outcome::WindowStep;
}

void ScriptSession::SetRegistryValue(const ScriptStep& step) {
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

void ScriptSession::Start(const std::string& tail) {
  running_ = true;
  killed_ = false;
  ViewerApp::Instance();
  AfxWinMain(*backend_, programPath_, ApplicationName(programPath_) + " " + tail);
  running_ = false;
  if (!killed_)
    print_.Exit();
}

bool ScriptSession::IsFieldChooser(const CDialog& dialog) {
  return dialog.TemplateId() == IDD_FIELD_QUERY || dialog.TemplateId() == IDD_DUPLICATES;
}

bool ScriptSession::TakeDialogFailure() {
  if (dialogAnswers_.empty() || dialogAnswers_.front().kind != DialogAnswer::Fail)
    return false;
  dialogAnswers_.pop_front();
  return true;
}

template <class Answer>
std::optional<Answer> ScriptSession::Next(std::deque<Answer>& answers) {
  if (answers.empty()) {
    print_.Error("no answer");
    return std::nullopt;
  }
  Answer answer = std::move(answers.front());
  answers.pop_front();
  return answer;
}

std::optional<DialogAnswer> ScriptSession::TakeDialogAnswer(CDialog& dialog) {
  if (auto* field = dynamic_cast<CComboBox*>(dialog.GetDlgItem(IDC_FIELD)))
    print_.FieldChooser(dialog.GetWindowText(), *field);
  return Next(dialogAnswers_);
}

std::optional<SaveAnswer> ScriptSession::TakeSaveAnswer(const CFileDialog& dialog) {
  print_.SaveDialog(dialog.m_ofn.lpstrInitialDir);
  std::optional<SaveAnswer> answer = Next(saveAnswers_);
  if (!answer || answer->kind == SaveAnswer::Cancel)
    return answer;
  answer->path = dialog.NameWithDefaultExtension(answer->path);
  std::error_code error;
  answer->asked =
      (dialog.m_ofn.Flags & OFN_OVERWRITEPROMPT) && std::filesystem::exists(answer->path, error);
  if (answer->asked)
    print_.Overwrite(answer->path);
  return answer;
}

std::optional<GoToAnswer> ScriptSession::TakeGoToAnswer(CDialog& dialog) {
  CWnd* label = dialog.GetDlgItem(IDC_ROW_RANGE);
  print_.GoToRow(label ? label->GetWindowText() : std::string());
  return Next(goToAnswers_);
}

void ScriptSession::ShowText(CDialog& dialog) {
  CWnd* text = dialog.GetDlgItem(IDC_DETAILS);
  print_.Details(dialog.GetWindowText(), text ? text->GetWindowText() : std::string());
}

std::optional<unsigned> ScriptSession::TakePick(const CMenu& menu) {
  std::optional<unsigned> pick = std::exchange(stepPick_, std::nullopt);
  if (!pick && !picks_.empty()) {
    pick = picks_.front();
    picks_.pop_front();
  }
  if (!pick) {
    print_.Popup(menu);
    return std::nullopt;
  }
  UINT state = menu.GetMenuState(*pick, MF_BYCOMMAND);
  if (state == MENU_NOT_FOUND || (state & MF_GRAYED)) {
    print_.Error("no such item");
    return std::nullopt;
  }
  return pick;
}

bool ScriptSession::OnMenuBar(const CWnd& window, unsigned command) {
  const CMenu* bar = window.GetMenu();
  return bar && bar->GetMenuState(command, MF_BYCOMMAND) != MENU_NOT_FOUND;
}

std::optional<FileAnswer> ScriptSession::TakeFileAnswer(const CFileDialog& dialog) {
  print_.FileDialog(dialog.m_ofn.lpstrInitialDir);
  return Next(fileAnswers_);
}
