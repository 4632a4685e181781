// Objects that receive messages through a static message map, chained to their base class's map.
#pragma once

#include "platform/Win32.h"

class CCmdTarget;
struct DropFiles;

// One row of a message map. `thunk` unpacks wParam and lParam for the handler's own signature.
struct MessageMapEntry {
  UINT message;
  UINT code;  // notification code for WM_COMMAND and WM_NOTIFY rows
  UINT id;    // command or control id; 0 for plain window messages
  LRESULT (*thunk)(CCmdTarget& target, WPARAM wParam, LPARAM lParam);
};

struct MessageMap {
  const MessageMap* (*base)();
  const MessageMapEntry* entries;  // ends with a row whose thunk is null
};

class CCmdTarget {
 public:
  virtual ~CCmdTarget() = default;

  // Routes a command (or a control notification) through the maps; true when a handler ran.
  virtual bool OnCmdMsg(UINT id, int code);

  void BeginWaitCursor();
  void EndWaitCursor();

  static const MessageMap* GetThisMessageMap();

 protected:
  virtual const MessageMap* GetMessageMap() const;

  // The first row of this object's map chain that matches, or null.
  const MessageMapEntry* FindEntry(UINT message, UINT code, UINT id) const;
};

// Thunks, one per handler signature. A handler may be a member of a base class of T.
template <class T, auto F>
LRESULT CommandThunk(CCmdTarget& t, WPARAM, LPARAM) {
  (static_cast<T&>(t).*F)();
  return 0;
}

template <class T, auto F>
LRESULT SysCommandThunk(CCmdTarget& t, WPARAM w, LPARAM l) {
  (static_cast<T&>(t).*F)(static_cast<UINT>(w), l);
  return 0;
}

template <class T, auto F>
LRESULT SizeThunk(CCmdTarget& t, WPARAM w, LPARAM l) {
  (static_cast<T&>(t).*F)(static_cast<UINT>(w), static_cast<int>(LOWORD(l)),
                          static_cast<int>(HIWORD(l)));
  return 0;
}

template <class T, auto F>
LRESULT ShowWindowThunk(CCmdTarget& t, WPARAM w, LPARAM l) {
  (static_cast<T&>(t).*F)(static_cast<BOOL>(w), static_cast<UINT>(l));
  return 0;
}

template <class T, auto F>
LRESULT ResultThunk(CCmdTarget& t, WPARAM, LPARAM) {
  return (static_cast<T&>(t).*F)();
}

template <class T, auto F>
LRESULT ContextMenuThunk(CCmdTarget& t, WPARAM w, LPARAM l) {
  (static_cast<T&>(t).*F)(reinterpret_cast<CWnd*>(w), POINT{GET_X_LPARAM(l), GET_Y_LPARAM(l)});
  return 0;
}

template <class T, auto F>
LRESULT NotifyThunk(CCmdTarget& t, WPARAM, LPARAM l) {
  LRESULT result = 0;
  (static_cast<T&>(t).*F)(reinterpret_cast<NMHDR*>(l), &result);
  return result;
}

template <class T, auto F>
LRESULT DropFilesThunk(CCmdTarget& t, WPARAM w, LPARAM) {
  (static_cast<T&>(t).*F)(reinterpret_cast<DropFiles*>(w));
  return 0;
}

#define DECLARE_MESSAGE_MAP()                   \
 public:                                        \
  static const MessageMap* GetThisMessageMap(); \
                                                \
 protected:                                     \
  const MessageMap* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)        \
  const MessageMap* theClass::GetMessageMap() const { \
    return GetThisMessageMap();                       \
  }                                                   \
  const MessageMap* theClass::GetThisMessageMap() {   \
    using ThisClass [[maybe_unused]] = theClass;      \
    using TheBaseClass = baseClass;                   \
    static const MessageMapEntry entries[] = {
#define END_MESSAGE_MAP()                                                 \
  { 0, 0, 0, nullptr }                                                    \
  }                                                                       \
  ;                                                                       \
  static const MessageMap map{&TheBaseClass::GetThisMessageMap, entries}; \
  return &map;                                                            \
  }

#define ON_COMMAND(id, fn) \
  {WM_COMMAND, 0, static_cast<UINT>(id), &CommandThunk<ThisClass, &ThisClass::fn>},
#define ON_CBN_SELCHANGE(id, fn) \
  {WM_COMMAND, CBN_SELCHANGE, static_cast<UINT>(id), &CommandThunk<ThisClass, &ThisClass::fn>},
#define ON_WM_SYSCOMMAND() \
  {WM_SYSCOMMAND, 0, 0, &SysCommandThunk<ThisClass, &ThisClass::OnSysCommand>},
#define ON_WM_PAINT() {WM_PAINT, 0, 0, &CommandThunk<ThisClass, &ThisClass::OnPaint>},
#define ON_WM_QUERYDRAGICON() \
  {WM_QUERYDRAGICON, 0, 0, &ResultThunk<ThisClass, &ThisClass::OnQueryDragIcon>},
#define ON_WM_SIZE() {WM_SIZE, 0, 0, &SizeThunk<ThisClass, &ThisClass::OnSize>},
#define ON_WM_SHOWWINDOW() \
  {WM_SHOWWINDOW, 0, 0, &ShowWindowThunk<ThisClass, &ThisClass::OnShowWindow>},
#define ON_WM_DROPFILES() {WM_DROPFILES, 0, 0, &DropFilesThunk<ThisClass, &ThisClass::OnDropFiles>},
#define ON_WM_CONTEXTMENU() \
  {WM_CONTEXTMENU, 0, 0, &ContextMenuThunk<ThisClass, &ThisClass::OnContextMenu>},
// A notification from the child control `id`, which did not take it for itself.
#define ON_NOTIFY(code, id, fn)                               \
  {WM_NOTIFY, static_cast<UINT>(code), static_cast<UINT>(id), \
   &NotifyThunk<ThisClass, &ThisClass::fn>},
#define ON_NOTIFY_REFLECT(code, fn) \
  {WM_NOTIFY, static_cast<UINT>(code), 0, &NotifyThunk<ThisClass, &ThisClass::fn>},
