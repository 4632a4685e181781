// The main window's settings: the check mark of its "Save settings on exit" item and its
// placement, kept between runs as the settings image (SettingsRecord) in the per-user registry.
// Read once while the window initialises (Load), written or removed once while it is destroyed
// (Save). Nothing here is ever shown to the user.
#pragma once

#include "platform/Archive.h"
#include "platform/Dialog.h"
#include "platform/Win32.h"

class SettingsSerializer {
 public:
  // `saveCommand` is the command id of the "Save settings on exit" item of the window's menu.
  SettingsSerializer(CDialog& window, UINT saveCommand)
      : window_(window), saveCommand_(saveCommand) {}

  // Storing: writes the window's image. Loading: reads an image and applies it as it goes: the
  // check mark as soon as it is read, the placement once all of it is read.
  void Serialize(CArchive& ar);
  // Reads the stored image and applies it. A missing or unusable image applies nothing; one that
  // ends early applies what came before its end.
  void Load();
  // With the item checked, writes the image; unchecked, deletes the settings key. True when the
  // item was unchecked or the whole image was written.
  bool Save();

 private:
  // The item's state flags; a window without the item reads as unchecked.
  UINT SaveItemState() const;
  void Store(CArchive& ar);
  void Apply(CArchive& ar);

  CDialog& window_;
  UINT saveCommand_;
};
