#include "tools/ScriptDriver.h"

#include <utility>

#include "app/MainWindow.h"
#include "app/Resource.h"
#include "platform/Button.h"
#include "platform/ComboBox.h"
#include "platform/Edit.h"
#include "platform/FileDialog.h"

ScriptDriver::ScriptDriver(std::istream& script, std::ostream& out, std::ostream& err,
                           std::string programPath)
    : session_(script, out, err, std::move(programPath)) {}

int ScriptDriver::Run() {
  return session_.Run(*this, [this]() -> std::optional<std::string> {
    if (!Clipboard())
      return std::nullopt;
    return Clipboard()->Utf8();
  });
}

// The right button selects the item under it, and asks for the list's context menu there.
std::deque<MSG> ScriptDriver::RightClick(MainWindow& window, int item) {
  return {MSG{&window.list, WM_RBUTTONDOWN, 0, item},
          MSG{&window.list, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(&window.list), 0}};
}

std::deque<MSG> ScriptDriver::WindowMessages(const ScriptStep& step, MainWindow& window) {
  MSG msg{&window, WM_NULL, 0, 0};
  switch (step.kind) {
    case ScriptStep::Kind::Menu:
      if (!ScriptSession::OnMenuBar(window, step.command)) {
        session_.PickWithStep(step.command);
        return RightClick(window, window.list.GetNextItem(-1, LVNI_SELECTED));
      }
      msg.message = WM_COMMAND;
      msg.wParam = MAKEWPARAM(static_cast<WORD>(step.command), NOTIFY_MENU);
      break;
    case ScriptStep::Kind::RightClick:
      return RightClick(window, static_cast<int>(step.number));
    case ScriptStep::Kind::DoubleClick:
      msg = MSG{&window.list, WM_LBUTTONDBLCLK, 0, step.number};
      break;
    case ScriptStep::Kind::Key:
      msg = MSG{&window.list, WM_KEYDOWN, step.key, 0, step.ctrl, step.shift, step.alt};
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
      msg = window.list.TitleClickMessage(static_cast<int>(step.number));
      break;
    case ScriptStep::Kind::Select:
      msg = MSG{&window.list, WM_LBUTTONDOWN, 0, step.number};
      break;
    case ScriptStep::Kind::Drop:
      // The desktop gives files only to a window that takes them.
      if (window.GetExStyle() & WS_EX_ACCEPTFILES) {
        drop_ = DropFiles{{step.tail}};
        msg = MSG{&window, WM_DROPFILES, reinterpret_cast<WPARAM>(&drop_), 0};
      }
      break;
    case ScriptStep::Kind::Placement: {
      WINDOWPLACEMENT placement;
      window.GetWindowPlacement(&placement);
      placement.showCmd = step.placement.showCmd;
      placement.rcNormalPosition = step.placement.rcNormalPosition;
      window.SetWindowPlacement(&placement);
      // The window repaints where the user left it.
      msg.message = WM_PAINT;
      break;
    }
    default:
      break;
  }
  return {msg};
}

bool ScriptDriver::NextMessage(CDialog& dialog, MSG& msg) {
  MainWindow* window = session_.Window();
  if (&dialog != window)
    return AnswerDialog(dialog, msg);
  if (pending_.empty()) {
    ScriptStep step;
    if (!session_.NextWindowStep(step))
      return false;
    pending_ = WindowMessages(step, *window);
  }
  msg = pending_.front();
  pending_.pop_front();
  return true;
}

bool ScriptDriver::CanShow(CDialog& dialog) {
  return !ScriptSession::IsFieldChooser(dialog) || !session_.TakeDialogFailure();
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
    session_.Print().About();
    button = IDOK;
  } else if (fresh && ScriptSession::IsFieldChooser(dialog)) {
    AnswerFieldChooser(dialog, button);
  } else if (fresh && dialog.TemplateId() == IDD_ROW_DETAILS) {
    session_.ShowText(dialog);
    button = IDOK;
  } else if (fresh && dialog.TemplateId() == IDD_GO_TO_ROW) {
    AnswerGoToRow(dialog, button);
  }
  msg = MSG{&dialog, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(button), BN_CLICKED),
            reinterpret_cast<LPARAM>(dialog.GetDlgItem(button))};
  return true;
}

// The chooser prints its list, then the queued answer plays: pick, check, type, and the button.
void ScriptDriver::AnswerFieldChooser(CDialog& dialog, int& button) {
  std::optional<DialogAnswer> answer = session_.TakeDialogAnswer(dialog);
  if (!answer)
    return;
  auto* field = dynamic_cast<CComboBox*>(dialog.GetDlgItem(IDC_FIELD));
  if (answer->field && field)
    field->Pick(*answer->field);
  auto* exact = dynamic_cast<CButton*>(dialog.GetDlgItem(IDC_EXACT));
  if (answer->exact && exact)
    exact->Click();
  auto* match = dynamic_cast<CEdit*>(dialog.GetDlgItem(IDC_MATCH));
  if (answer->match && match)
    match->Type(*answer->match);
  if (answer->kind == DialogAnswer::Ok)
    button = IDOK;
}

void ScriptDriver::AnswerGoToRow(CDialog& dialog, int& button) {
  std::optional<GoToAnswer> answer = session_.TakeGoToAnswer(dialog);
  if (!answer || !answer->ok)
    return;
  if (auto* number = dynamic_cast<CEdit*>(dialog.GetDlgItem(IDC_ROW_NUMBER)))
    number->Type(answer->text);
  button = IDOK;
}

int ScriptDriver::MessageBox(CWnd& /*owner*/, const std::string& text, const std::string& caption,
                             UINT /*type*/) {
  session_.Print().Box(caption, text);
  return IDOK;
}

int ScriptDriver::RunFileDialog(CFileDialog& dialog) {
  if (!dialog.m_bOpenFileDialog)
    return RunSaveDialog(dialog);
  std::optional<FileAnswer> answer = session_.TakeFileAnswer(dialog);
  if (!answer || !answer->ok)
    return IDCANCEL;
  dialog.SetPathName(answer->path);
  return IDOK;
}

// A user who would not replace the file that exists leaves the dialog.
int ScriptDriver::RunSaveDialog(CFileDialog& dialog) {
  std::optional<SaveAnswer> answer = session_.TakeSaveAnswer(dialog);
  if (!answer || answer->kind == SaveAnswer::Cancel)
    return IDCANCEL;
  if (answer->kind == SaveAnswer::Keep && answer->asked)
    return IDCANCEL;
  dialog.SetPathName(answer->path);
  return IDOK;
}

UINT ScriptDriver::TrackPopupMenu(const CMenu& menu, CWnd& /*owner*/, POINT /*where*/) {
  return session_.TakePick(menu).value_or(0u);
}

void ScriptDriver::WindowTextChanged(CWnd& window) {
  if (&window == session_.Window())
    session_.Print().Title(window.GetWindowText());
}
