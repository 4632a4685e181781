#include "platform/CmdTarget.h"

#include "platform/Backend.h"

const MessageMap* CCmdTarget::GetThisMessageMap() {
  static const MessageMapEntry entries[] = {{0, 0, 0, nullptr}};
  static const MessageMap map{nullptr, entries};
  return &map;
}

const MessageMap* CCmdTarget::GetMessageMap() const {
  return GetThisMessageMap();
}

const MessageMapEntry* CCmdTarget::FindEntry(UINT message, UINT code, UINT id) const {
  for (const MessageMap* map = GetMessageMap(); map; map = map->base ? map->base() : nullptr) {
    for (const MessageMapEntry* e = map->entries; e->thunk; ++e) {
      if (e->message == message && e->code == code && e->id == id)
        return e;
    }
  }
  return nullptr;
}

bool CCmdTarget::OnCmdMsg(UINT id, int code) {
  const MessageMapEntry* entry = FindEntry(WM_COMMAND, static_cast<UINT>(code), id);
  if (!entry)
    return false;
  entry->thunk(*this, 0, 0);
  return true;
}

void CCmdTarget::BeginWaitCursor() {
  CurrentBackend().WaitCursor(true);
}

void CCmdTarget::EndWaitCursor() {
  CurrentBackend().WaitCursor(false);
}
