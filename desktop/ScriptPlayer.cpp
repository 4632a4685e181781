#include "desktop/ScriptPlayer.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QWidget>
#include <optional>

#include "app/MainWindow.h"
#include "app/Resource.h"
#include "desktop/DesktopUser.h"
#include "platform/FileDialog.h"
#include "platform/WorkProgress.h"
#include "platform/qt/ListViewPeer.h"
#include "platform/qt/TopWindow.h"
#include "tools/ScriptSession.h"

namespace {
// Whether two spellings of a path name one file: the dialog hands back a full path where the
// script may have named the file relative to the working directory.
bool SameFile(const std::string& a, const std::string& b) {
  return QFileInfo(QFile::decodeName(a.c_str())).absoluteFilePath() ==
         QFileInfo(QFile::decodeName(b.c_str())).absoluteFilePath();
}
}  // namespace

ScriptPlayer::ScriptPlayer(ScriptSession& session) : session_(session) {
  // The arrow as the list's header draws it.
  session_.ReadSortArrowWith([this](MainWindow& window, int* arrow) {
    TopWindow* top = WindowOf(window);
    auto* list = top ? top->findChild<ListViewPeer*>() : nullptr;
    return list ? list->ShownSortArrow(arrow) : -1;
  });
  poll_.setInterval(1);
  QObject::connect(&poll_, &QTimer::timeout, [this] { Poll(); });
  poll_.start();
}

ScriptPlayer::~ScriptPlayer() {
  poll_.stop();
}

bool ScriptPlayer::CreateDialogWindow(CDialog& dialog) {
  if (ScriptSession::IsFieldChooser(dialog) && session_.TakeDialogFailure())
    return false;
  return QtBackend::CreateDialogWindow(dialog);
}

void ScriptPlayer::ShowDialogWindow(CDialog& dialog) {
  QtBackend::ShowDialogWindow(dialog);
  TopWindow* top = WindowOf(dialog);
  if (top && &dialog != session_.Window())
    forWindow_.emplace_back(top, AnswerFor(dialog));
}

// The program killed where it runs: its loop ends, and nothing of its shutdown runs. A loop that
// ends any other way is the backend's to handle.
bool ScriptPlayer::RunModalLoop(CDialog& dialog) {
  TopWindow* window = WindowOf(dialog);
  if (!window || dialog.HasEnded())
    return QtBackend::RunModalLoop(dialog);
  bool ended = window->RunLoop();
  if (!ended && userGone_) {
    DestroyDialogWindow(dialog);
    return false;
  }
  return QtBackend::RunModalLoop(dialog);
}

ScriptPlayer::Answer ScriptPlayer::AnswerFor(CDialog& dialog) {
  if (ScriptSession::IsFieldChooser(dialog))
    return [this, &dialog](QWidget*) { AnswerFieldChooser(dialog); };
  if (dialog.TemplateId() == IDD_ABOUT || dialog.TemplateId() == IDD_ROW_DETAILS) {
    return [this, &dialog](QWidget*) {
      if (dialog.TemplateId() == IDD_ABOUT)
        session_.Print().About();
      else
        session_.ShowText(dialog);
      if (TopWindow* top = WindowOf(dialog))
        DesktopUser::Click(top->WidgetOf(IDOK));
    };
  }
  if (dialog.TemplateId() == IDD_GO_TO_ROW)
    return [this, &dialog](QWidget*) { AnswerGoToRow(dialog); };
  return DesktopUser::Dismiss;
}

void ScriptPlayer::AnswerGoToRow(CDialog& dialog) {
  std::optional<GoToAnswer> answer = session_.TakeGoToAnswer(dialog);
  TopWindow* top = WindowOf(dialog);
  if (!top)
    return;
  bool ok = answer && answer->ok;
  if (ok)
    DesktopUser::Type(top->WidgetOf(IDC_ROW_NUMBER), answer->text);
  DesktopUser::Click(top->WidgetOf(ok ? IDOK : IDCANCEL));
}

// The chooser prints its list, then the queued answer plays on its widgets: pick, check, type,
// and the button.
void ScriptPlayer::AnswerFieldChooser(CDialog& dialog) {
  std::optional<DialogAnswer> answer = session_.TakeDialogAnswer(dialog);
  TopWindow* top = WindowOf(dialog);
  if (!top)
    return;
  if (!answer) {
    DesktopUser::Click(top->WidgetOf(IDCANCEL));
    return;
  }
  if (answer->field)
    DesktopUser::PickEntry(top->WidgetOf(IDC_FIELD), *answer->field);
  if (answer->exact)
    DesktopUser::Click(top->WidgetOf(IDC_EXACT));
  if (answer->match)
    DesktopUser::Type(top->WidgetOf(IDC_MATCH), *answer->match);
  DesktopUser::Click(top->WidgetOf(answer->kind == DialogAnswer::Ok ? IDOK : IDCANCEL));
}

int ScriptPlayer::MessageBox(CWnd& owner, const std::string& text, const std::string& caption,
                             UINT type) {
  session_.Print().Box(caption, text);
  forNext_.push_back(DesktopUser::ConfirmBox);
  return QtBackend::MessageBox(owner, text, caption, type);
}

// A Save dialog asks about a file that exists in a box of its own, which gets its answer next.
int ScriptPlayer::RunFileDialog(CFileDialog& dialog) {
  bool ok = false;
  std::string path;
  if (dialog.m_bOpenFileDialog) {
    std::optional<FileAnswer> answer = session_.TakeFileAnswer(dialog);
    ok = answer && answer->ok;
    path = ok ? answer->path : std::string();
  }
  std::optional<SaveAnswer> save =
      dialog.m_bOpenFileDialog ? std::nullopt : session_.TakeSaveAnswer(dialog);
  if (save && save->kind != SaveAnswer::Cancel) {
    ok = true;
    path = save->path;
  }
  forNext_.push_back([ok, path](QWidget* chooser) { DesktopUser::ChooseFile(chooser, ok, path); });
  if (ok && save && save->asked) {
    bool replace = save->kind == SaveAnswer::Save;
    forNext_.push_back([replace](QWidget* box) { DesktopUser::AnswerQuestion(box, replace); });
  }
  int result = QtBackend::RunFileDialog(dialog);
  // The file the script named, spelled as the script spells it.
  if (result == IDOK && ok && SameFile(dialog.GetPathName(), path))
    dialog.SetPathName(path);
  return result;
}

UINT ScriptPlayer::TrackPopupMenu(const CMenu& menu, CWnd& owner, POINT where) {
  std::optional<unsigned> pick = session_.TakePick(menu);
  UINT picked = 0;
  DesktopUser::PickFromMenu(pick.value_or(0u),
                            [&] { picked = QtBackend::TrackPopupMenu(menu, owner, where); });
  return picked;
}

void ScriptPlayer::WindowTextChanged(CWnd& window) {
  if (&window == session_.Window())
    session_.Print().Title(window.GetWindowText());
  QtBackend::WindowTextChanged(window);
}

void ScriptPlayer::Poll() {
  std::erase_if(seen_, [](const Seen& s) { return s.window.isNull(); });
  std::erase_if(forWindow_, [](const auto& entry) { return entry.first.isNull(); });
  QWidget* modal = QApplication::activeModalWidget();
  if (modal && modal->isVisible()) {
    Respond(modal);
    return;
  }
  if (!Idle())
    return;
  busy_ = true;
  QTimer::singleShot(0, [this] { PlayNext(); });
}

// A window that opens gets its answer; one still open after that is left with Escape, and one
// that even that does not close is closed.
void ScriptPlayer::Respond(QWidget* modal) {
  auto seen = std::find_if(seen_.begin(), seen_.end(),
                           [modal](const Seen& s) { return s.window == modal; });
  if (seen != seen_.end() && seen->stage == Stage::Answering)
    return;
  if (seen != seen_.end()) {
    bool again = seen->stage == Stage::Dismissed;
    seen->stage = Stage::Dismissed;
    QPointer<QWidget> window = modal;
    QTimer::singleShot(0, [window, again] {
      if (window && again)
        window->close();
      else if (window)
        DesktopUser::Dismiss(window);
    });
    return;
  }
  Answer answer = DesktopUser::Dismiss;
  auto kept = std::find_if(forWindow_.begin(), forWindow_.end(),
                           [modal](const auto& entry) { return entry.first == modal; });
  if (kept != forWindow_.end()) {
    answer = kept->second;
    forWindow_.erase(kept);
  } else if (!forNext_.empty()) {
    answer = forNext_.front();
    forNext_.erase(forNext_.begin());
  }
  seen_.push_back(Seen{modal, Stage::Answering});
  QPointer<QWidget> window = modal;
  // The answer may open windows of its own and wait for them; the poll goes on meanwhile.
  QTimer::singleShot(0, [this, window, answer] {
    if (window)
      answer(window);
    for (Seen& s : seen_) {
      if (s.window == window && s.stage == Stage::Answering)
        s.stage = Stage::Answered;
    }
  });
}

// The program waits in its main loop, and has loaded the file it was started with.
bool ScriptPlayer::Idle() const {
  MainWindow* window = session_.Window();
  if (busy_ || !window || QApplication::activePopupWidget() || CWorkProgress::Running())
    return false;
  TopWindow* top = WindowOf(*window);
  if (!top || !top->Accepting())
    return false;
  return window->table || window->path.empty() || !window->IsWindowVisible();
}

void ScriptPlayer::PlayNext() {
  ScriptStep step;
  bool more = session_.NextWindowStep(step);
  MainWindow* window = session_.Window();
  TopWindow* top = window ? WindowOf(*window) : nullptr;
  if (!more) {
    // The user is gone: the loop ends without the program's shutdown.
    userGone_ = true;
    if (top)
      top->EndLoop();
  } else if (top) {
    PlayStep(step, *top);
  }
  busy_ = false;
}

void ScriptPlayer::PlayStep(const ScriptStep& step, TopWindow& top) {
  MainWindow& window = *session_.Window();
  auto* list = top.findChild<ListViewPeer*>();
  switch (step.kind) {
    case ScriptStep::Kind::Menu:
      if (ScriptSession::OnMenuBar(window, step.command)) {
        DesktopUser::PickMenuCommand(top, step.command);
      } else if (list) {
        session_.PickWithStep(step.command);
        DesktopUser::ClickItem(*list, window.list, window.list.GetNextItem(-1, LVNI_SELECTED),
                               DesktopUser::ItemClick::Right);
      }
      break;
    case ScriptStep::Kind::RightClick:
      if (list)
        DesktopUser::ClickItem(*list, window.list, static_cast<int>(step.number),
                               DesktopUser::ItemClick::Right);
      break;
    case ScriptStep::Kind::DoubleClick:
      if (list)
        DesktopUser::ClickItem(*list, window.list, static_cast<int>(step.number),
                               DesktopUser::ItemClick::Double);
      break;
    case ScriptStep::Kind::Key:
      if (list)
        DesktopUser::PressKey(*list, step.key, step.ctrl, step.shift, step.alt);
      break;
    case ScriptStep::Kind::Close:
      top.close();
      break;
    case ScriptStep::Kind::SysCommand:
      DesktopUser::PickSystemCommand(top, static_cast<UINT>(step.number));
      break;
    case ScriptStep::Kind::ClickTitle:
      if (list)
        DesktopUser::ClickTitle(*list, window.list, static_cast<int>(step.number));
      break;
    case ScriptStep::Kind::Select:
      if (list)
        DesktopUser::ClickItem(*list, window.list, static_cast<int>(step.number));
      break;
    case ScriptStep::Kind::Placement:
      DesktopUser::Place(top, step.placement.showCmd, step.placement.rcNormalPosition);
      break;
    case ScriptStep::Kind::Drop:
      DesktopUser::DropFile(top, step.tail);
      break;
    default:
      break;
  }
}
