// The main window as the settings see it: a dialog with the program's menu bar, placed normally at
// kStart until something places it elsewhere.
#pragma once

#include "app/Resource.h"
#include "platform/Dialog.h"
#include "platform/Menu.h"
#include "settings/SettingsSerializer.h"

class SettingsWindow : public CDialog {
 public:
  static constexpr RECT kStart{10, 10, 210, 110};

  SettingsWindow() : CDialog(IDD_MAIN) {
    SetMenu(CMenu::Load(*FindMenuTemplate(IDR_MAINMENU), this));
    WINDOWPLACEMENT placement;
    placement.showCmd = SW_SHOWNORMAL;
    placement.rcNormalPosition = kStart;
    SetWindowPlacement(&placement);
  }
  WINDOWPLACEMENT Placement() const {
    WINDOWPLACEMENT placement;
    GetWindowPlacement(&placement);
    return placement;
  }
  void CheckSave(bool on) {
    GetMenu()->CheckMenuItem(ID_OPTIONS_SAVE_SETTINGS, on ? MF_CHECKED : MF_UNCHECKED);
  }
  bool SaveChecked() const {
    return GetMenu()->GetMenuState(ID_OPTIONS_SAVE_SETTINGS, MF_BYCOMMAND) & MF_CHECKED;
  }
  SettingsSerializer Settings() { return SettingsSerializer(*this, ID_OPTIONS_SAVE_SETTINGS); }
};
