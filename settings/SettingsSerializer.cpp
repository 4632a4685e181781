#include "settings/SettingsSerializer.h"

#include <cstdlib>

#include "platform/MemFile.h"
#include "platform/Registry.h"
#include "settings/RegistryBlob.h"
#include "settings/SettingsRecord.h"

namespace {

constexpr UINT kStreamGrowth = 400;
constexpr size_t kArchiveBuffer = 1024;

void StorePlacement(CArchive& ar, const WINDOWPLACEMENT& p) {
  ar << p.length << p.flags << p.showCmd;
  ar << p.ptMinPosition.x << p.ptMinPosition.y << p.ptMaxPosition.x << p.ptMaxPosition.y;
  ar << p.rcNormalPosition.left << p.rcNormalPosition.top << p.rcNormalPosition.right
     << p.rcNormalPosition.bottom;
}

void LoadPlacement(CArchive& ar, WINDOWPLACEMENT& p) {
  ar >> p.length >> p.flags >> p.showCmd;
  ar >> p.ptMinPosition.x >> p.ptMinPosition.y >> p.ptMaxPosition.x >> p.ptMaxPosition.y;
  ar >> p.rcNormalPosition.left >> p.rcNormalPosition.top >> p.rcNormalPosition.right >>
      p.rcNormalPosition.bottom;
}

}  // namespace

UINT SettingsSerializer::SaveItemState() const {
  CMenu* menu = window_.GetMenu();
  UINT state = menu ? menu->GetMenuState(saveCommand_, MF_BYCOMMAND) : MENU_NOT_FOUND;
  // "Not found" has every bit set, MF_CHECKED included.
  return state == MENU_NOT_FOUND ? MF_UNCHECKED : state;
}

void SettingsSerializer::Serialize(CArchive& ar) {
  if (ar.IsStoring())
    Store(ar);
  else
    Apply(ar);
}

void SettingsSerializer::Store(CArchive& ar) {
  SettingsRecord record;
  // 1. The window's data exchange binds no setting; it runs as the window's own save would.
  window_.UpdateData(TRUE);
  record.saveItemState = SaveItemState();
  ar << record.version << record.saveItemState;
  // 4. Without a placement the image stays short, and Save writes nothing.
  if (!window_.GetWindowPlacement(&record.placement))
    return;
  // A minimized window comes back as a normal one.
  if (record.placement.showCmd != SW_SHOWMAXIMIZED)
    record.placement.showCmd = SW_SHOWNORMAL;
  StorePlacement(ar, record.placement);
}

void SettingsSerializer::Apply(CArchive& ar) {
  SettingsRecord record;
  ar >> record.version;
  if (record.version != SettingsRecord::kVersion)
    return;
  ar >> record.saveItemState;
  if (CMenu* menu = window_.GetMenu())
    menu->CheckMenuItem(saveCommand_, record.saveItemState);
  LoadPlacement(ar, record.placement);
  window_.SetWindowPlacement(&record.placement);
  window_.UpdateData(FALSE);
}

void SettingsSerializer::Load() {
  CMemFile stream(kStreamGrowth);
  RegistryBlob blob;
  DWORD size = 0;
  BYTE* image =
      blob.ReadBlob(HKEY_CURRENT_USER, SettingsRecord::kKey, SettingsRecord::kValueName, &size);
  if (!image)
    return;
  stream.Write(image, size);
  stream.SeekToBegin();
  // 4, 5. An image that ends before a word that is to be read ends the load there.
  BYTE buffer[kArchiveBuffer];
  try {
    CArchive ar(&stream, CArchive::load, sizeof buffer, buffer);
    Serialize(ar);
    ar.Close();
  } catch (const CArchiveException&) {
  }
  // 6. The blob and the stream end with this scope.
}

bool SettingsSerializer::Save() {
  CMemFile stream(kStreamGrowth);
  RegistryBlob blob;
  bool result = false;
  if (!(SaveItemState() & MF_CHECKED)) {
    blob.DeleteKey(HKEY_CURRENT_USER, SettingsRecord::kKey);
    return true;
  }
  BYTE buffer[kArchiveBuffer];
  try {
    CArchive ar(&stream, CArchive::store, sizeof buffer, buffer);
    Serialize(ar);
    ar.Close();
    // 4. Only a whole image is written.
    DWORD length = stream.SeekToEnd();
    if (length != SettingsRecord::kSize)
      return false;
    auto* copy = static_cast<BYTE*>(std::malloc(length));
    if (!copy)
      return false;
    stream.SeekToBegin();
    stream.Read(copy, length);
    result = blob.WriteBlob(HKEY_CURRENT_USER, SettingsRecord::kKey, SettingsRecord::kValueName,
                            copy, length);
    std::free(copy);
  } catch (const CArchiveException&) {
    result = false;
  }
  return result;
}
