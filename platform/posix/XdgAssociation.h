// Makes the desktop's own files follow the file types that the keys define, for desktops that
// read the freedesktop.org files rather than the keys: a shared-mime-info package, the icon in the
// hicolor theme, a desktop entry for the program, and the user's default applications. The files
// are named as the program names itself (platform/ProgramIdentity.h).
#pragma once

#include <string>
#include <vector>

#include "platform/posix/DesktopFileType.h"

class XdgAssociation {
 public:
  static constexpr int kIconSizes[] = {16, 32, 48, 256};

  // `dataHome` holds applications/, mime/ and icons/; `configHome` holds mimeapps.list, and when
  // it is empty the default applications are left alone. With `refresh`, the MIME and desktop
  // databases are rebuilt after a change by their tools, when those are installed.
  XdgAssociation(std::string dataHome, std::string configHome, bool refresh);
  // The user's own folders, refreshed.
  static XdgAssociation ForUser();

  // Writes or removes each file so that it says what the types say:
  // - the MIME package defines every type, as long as there is one;
  // - the icon, at every size, exists while a type has one;
  // - the desktop entry exists while a type has a program, and opens the types of the first
  //   such program with it;
  // - exactly those of the types that the entry opens have it as their default application; the
  //   user's choices for every other type stay as they are.
  // Folders that a removed file leaves empty go with it; files that are symbolic links are
  // written through to their targets. False when a file could not be written or removed (the
  // others are still done).
  bool Mirror(const std::vector<DesktopFileType>& types) const;

  std::string DesktopEntryPath() const;
  std::string MimePackagePath() const;
  std::string IconPath(int size) const;
  std::string MimeAppsPath() const;

 private:
  bool MirrorMimePackage(const std::vector<DesktopFileType>& types, bool* changed) const;
  bool MirrorIcon(const std::vector<DesktopFileType>& types) const;
  bool MirrorDesktopEntry(const std::vector<DesktopFileType>& types, bool withIcon,
                          std::vector<std::string>* handled, bool* changed) const;
  bool MirrorDefaults(const std::vector<std::string>& own,
                      const std::vector<std::string>& handled) const;
  // Rebuilds the desktop's cache of the entries' types, which goes when no entry is left.
  void RefreshApplications() const;

  std::string dataHome_;
  std::string configHome_;
  bool refresh_;
};
