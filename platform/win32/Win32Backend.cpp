#include "platform/win32/Win32Backend.h"

#include "platform/App.h"
#include "platform/Clipboard.h"
#include "platform/Dialog.h"
#include "platform/FileDialog.h"
#include "platform/ListCtrl.h"
#include "platform/win32/DialogPeer.h"
#include "platform/win32/NativeDescriptions.h"
#include "platform/win32/native/Clipboard.h"
#include "platform/win32/native/CommonDialogs.h"
#include "platform/win32/native/DialogWindow.h"
#include "platform/win32/native/Metrics.h"
#include "platform/win32/native/PopupMenu.h"
#include "platform/win32/native/ProgramPath.h"
#include "platform/win32/native/WaitCursor.h"

namespace {
// Every template of the program names this font.
constexpr char kDialogFont[] = "MS Sans Serif";
constexpr int kDialogPoints = 8;

POINT MeasureBaseUnits() {
  int x = 0;
  int y = 0;
  if (!native::DialogWindow::BaseUnits(kDialogFont, kDialogPoints, &x, &y))
    return POINT{6, 13};
  return POINT{x, y};
}

RECT FromRect(const native::Rect& r) {
  return RECT{r.left, r.top, r.right, r.bottom};
}

// The window that a message box or a common dialog belongs to: the top-level one.
const CWnd* TopLevel(const CWnd* window) {
  while (window && (window->GetStyle() & WS_CHILD))
    window = window->GetParent();
  return window;
}
}  // namespace

Win32Backend::Win32Backend() : baseUnits_(MeasureBaseUnits()) {}

Win32Backend::~Win32Backend() {
  // Windows left over from a run that never ended go before the pictures they show.
  dialogs_.clear();
  while (native::WaitCursor::Active())
    native::WaitCursor::End();
}

std::string Win32Backend::ProcessCommandLine() {
  return native::CommandLine();
}

std::string Win32Backend::ProgramPath() {
  return native::ProgramPath();
}

DialogPeer* Win32Backend::PeerOf(const CWnd& dialog) const {
  for (const auto& peer : dialogs_) {
    if (&peer->Dialog() == &dialog)
      return peer.get();
  }
  return nullptr;
}

DialogPeer* Win32Backend::TopLevelPeerOf(CWnd& window) const {
  const CWnd* top = TopLevel(&window);
  return top ? PeerOf(*top) : nullptr;
}

// Dialogs.

bool Win32Backend::CreateDialogWindow(CDialog& dialog) {
  const CWnd* owner = dialog.GetParent();
  DialogPeer* ownerPeer = owner ? PeerOf(*owner) : nullptr;
  auto peer = std::make_unique<DialogPeer>(icons_, measure_, dialog);
  if (!peer->Create(ownerPeer ? ownerPeer->Handle() : nullptr))
    return false;
  dialog.peer = peer.get();
  dialogs_.push_back(std::move(peer));
  return true;
}

void Win32Backend::ShowDialogWindow(CDialog& dialog) {
  if (DialogPeer* peer = PeerOf(dialog))
    peer->Show();
}

bool Win32Backend::RunModalLoop(CDialog& dialog) {
  DialogPeer* peer = PeerOf(dialog);
  if (!peer)
    return false;
  if (dialog.HasEnded())
    return true;
  const CWnd* owner = dialog.GetParent();
  DialogPeer* ownerPeer = owner ? PeerOf(*owner) : nullptr;
  if (peer->RunLoop(ownerPeer ? ownerPeer->Handle() : nullptr))
    return true;
  // The system asks the program to quit, or the window is gone: the dialog ends as if cancelled,
  // past any help mode, so that the window's own shutdown still runs and keeps the settings.
  dialog.EndDialog(IDCANCEL);
  return true;
}

void Win32Backend::EndModalLoop(CDialog& dialog) {
  if (DialogPeer* peer = PeerOf(dialog))
    peer->EndLoop();
}

void Win32Backend::DestroyDialogWindow(CDialog& dialog) {
  dialog.peer = nullptr;
  for (CWnd* child : dialog.Children())
    child->peer = nullptr;
  std::erase_if(dialogs_, [&](const auto& peer) { return &peer->Dialog() == &dialog; });
}

int Win32Backend::MessageBox(CWnd& owner, const std::string& text, const std::string& caption,
                             UINT type) {
  const CWnd* top = TopLevel(&owner);
  DialogPeer* peer = top ? PeerOf(*top) : nullptr;
  int pressed =
      native::CommonDialogs::ShowMessage(peer ? peer->Handle() : nullptr, text, caption, type);
  return pressed == 0 ? IDOK : pressed;
}

int Win32Backend::RunFileDialog(CFileDialog& dialog) {
  CWinApp* app = AfxGetApp();
  DialogPeer* owner = app && app->m_pMainWnd ? PeerOf(*app->m_pMainWnd) : nullptr;
  native::OpenFileRequest request;
  request.owner = owner ? owner->Handle() : nullptr;
  request.filters = dialog.Filters();
  request.initialDir = dialog.m_ofn.lpstrInitialDir ? dialog.m_ofn.lpstrInitialDir : "";
  request.flags = dialog.m_ofn.Flags;
  request.defaultExtension = dialog.m_ofn.lpstrDefExt ? dialog.m_ofn.lpstrDefExt : "";
  std::string chosen;
  bool chose = dialog.m_bOpenFileDialog ? native::CommonDialogs::AskFileToOpen(request, &chosen)
                                        : native::CommonDialogs::AskFileToSave(request, &chosen);
  if (!chose)
    return IDCANCEL;
  dialog.SetPathName(chosen);
  return IDOK;
}

UINT Win32Backend::TrackPopupMenu(const CMenu& menu, CWnd& owner, POINT where) {
  DialogPeer* peer = TopLevelPeerOf(owner);
  return native::PopupMenu::Track(peer ? peer->Handle() : nullptr, DescribePopupMenu(menu), where.x,
                                  where.y);
}

bool Win32Backend::SetClipboardText(CWnd& owner, const ClipboardText& text) {
  DialogPeer* peer = TopLevelPeerOf(owner);
  return native::Clipboard::PutText(peer ? peer->Handle() : nullptr, text.Bytes(), text.Utf8());
}

// Painting a minimised window happens inside its WM_PAINT, on the surface that the window paints.

void Win32Backend::EraseIconBackground(CWnd& window) {
  DialogPeer* peer = PeerOf(window);
  if (peer && peer->Surface())
    peer->Surface()->EraseIconBackground();
}

void Win32Backend::DrawIcon(CWnd& window, int x, int y, const Icon* icon) {
  DialogPeer* peer = PeerOf(window);
  if (peer && peer->Surface())
    peer->Surface()->DrawIcon(x, y, icons_.Get(icon, SystemMetric(SM_CXICON)));
}

void Win32Backend::WaitCursor(bool on) {
  if (on) {
    native::WaitCursor::Begin();
  } else {
    native::WaitCursor::End();
  }
}

void Win32Backend::DrawPending(CWnd& window) {
  if (DialogPeer* peer = TopLevelPeerOf(window))
    peer->DrawPending();
}

// The window system's own rules.

int Win32Backend::TranslateAccelerator(CWnd& window, const AcceleratorTemplate* table,
                                       const MSG& msg) {
  DialogPeer* peer = TopLevelPeerOf(window);
  const native::Message* offered = peer ? peer->Offered() : nullptr;
  // A message that did not come from the window system keeps the platform's rule.
  if (!offered || offered->message != msg.message || offered->wParam != msg.wParam)
    return -1;
  std::unique_ptr<native::AcceleratorTable>& keys = keys_[table];
  if (!keys) {
    keys = std::make_unique<native::AcceleratorTable>();
    keys->Build(DescribeAccelerators(*table));
  }
  return keys->Translate(peer->Handle(), *offered) ? TRUE : FALSE;
}

bool Win32Backend::DefaultSystemCommand(CWnd& window, UINT command) {
  DialogPeer* peer = PeerOf(window);
  return peer && peer->LeaveSystemCommandToDefault(command);
}

// Measures.

int Win32Backend::TextWidth(const char* text, size_t length) {
  return measure_.TextWidth(text, length);
}

int Win32Backend::ByteAdvance(unsigned char byte) {
  return measure_.ByteAdvance(byte) * kAdvanceUnits;
}

int Win32Backend::SystemMetric(int index) {
  return native::Metrics::SystemMetric(index);
}

RECT Win32Backend::WorkArea() {
  return FromRect(native::Metrics::WorkArea());
}

// The frame of a window that exists is what the window system gives it: the platform's client
// area is then exactly the real one, in any state.
RECT Win32Backend::NonClientInsets(const CWnd& window) {
  if (window.GetStyle() & WS_CHILD)
    return RECT{};
  native::Rect frame =
      native::Metrics::FrameInsets(window.GetStyle(), window.GetExStyle(), window.GetMenu());
  DialogPeer* peer = PeerOf(window);
  if (!peer || !peer->Handle())
    return FromRect(frame);
  RECT outer;
  window.GetWindowRect(&outer);
  native::Rect client = peer->Window().ClientRect();
  return RECT{frame.left, frame.top, outer.Width() - client.Width() - frame.left,
              outer.Height() - client.Height() - frame.top};
}
