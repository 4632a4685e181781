#include "platform/win32/native/WorkIndicator.h"

#include <windows.h>

#include <commctrl.h>
#include <shobjidl.h>

#include <algorithm>

namespace native {
namespace {
constexpr int kMargin = 8;
constexpr int kWidest = 360;
constexpr int kHeight = 18;

HWND AsWindow(Handle window) {
  return static_cast<HWND>(window);
}

// The task bar's list, or null where the system has none.
ITaskbarList3* MakeTaskbar() {
  // The thread may already be set up for COM, in either model; either serves.
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  ITaskbarList3* taskbar = nullptr;
  if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3,
                              reinterpret_cast<void**>(&taskbar)))) {
    return nullptr;
  }
  if (FAILED(taskbar->HrInit())) {
    taskbar->Release();
    return nullptr;
  }
  return taskbar;
}

// The middle of `over`, in the client area of its dialog.
RECT BarPlace(HWND dialog, HWND over) {
  RECT area{};
  if (over) {
    GetWindowRect(over, &area);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&area), 2);
  } else {
    GetClientRect(dialog, &area);
  }
  int width = std::min<int>(kWidest, std::max<int>(0, area.right - area.left - 2 * kMargin));
  int left = area.left + (area.right - area.left - width) / 2;
  int top = area.top + (area.bottom - area.top - kHeight) / 2;
  return RECT{left, top, left + width, top + kHeight};
}
}  // namespace

WorkIndicator::~WorkIndicator() {
  Hide();
  if (taskbar_)
    static_cast<ITaskbarList3*>(taskbar_)->Release();
}

void WorkIndicator::Show(Handle window, Handle over, int filled, int full) {
  if (filled < 0 || !window) {
    Hide();
    return;
  }
  window_ = window;
  HWND dialog = AsWindow(window);
  if (!bar_) {
    INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&classes);
    RECT place = BarPlace(dialog, AsWindow(over));
    bar_ =
        CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, place.left,
                        place.top, place.right - place.left, place.bottom - place.top, dialog,
                        nullptr, GetModuleHandleA(nullptr), nullptr);
    if (bar_) {
      SendMessageA(AsWindow(bar_), PBM_SETRANGE32, 0, full);
      SetWindowPos(AsWindow(bar_), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }
  }
  if (bar_)
    SendMessageA(AsWindow(bar_), PBM_SETPOS, static_cast<WPARAM>(filled), 0);
  if (!taskbar_)
    taskbar_ = MakeTaskbar();
  if (auto* taskbar = static_cast<ITaskbarList3*>(taskbar_)) {
    taskbar->SetProgressState(dialog, TBPF_NORMAL);
    taskbar->SetProgressValue(dialog, static_cast<ULONGLONG>(filled), static_cast<ULONGLONG>(full));
  }
}

void WorkIndicator::Hide() {
  if (bar_)
    DestroyWindow(AsWindow(bar_));
  bar_ = nullptr;
  if (window_ && taskbar_)
    static_cast<ITaskbarList3*>(taskbar_)->SetProgressState(AsWindow(window_), TBPF_NOPROGRESS);
  window_ = nullptr;
}

void WorkIndicator::DrawPending(Handle window, bool withControls) {
  HWND dialog = AsWindow(window);
  if (!dialog)
    return;
  RedrawWindow(dialog, nullptr, nullptr,
               RDW_UPDATENOW | (withControls ? RDW_ALLCHILDREN : RDW_NOCHILDREN));
  if (bar_)
    UpdateWindow(AsWindow(bar_));
  // Looking at the queue is what tells the system that the program still answers.
  MSG waiting;
  PeekMessageA(&waiting, nullptr, 0, 0, PM_NOREMOVE);
}

}  // namespace native
