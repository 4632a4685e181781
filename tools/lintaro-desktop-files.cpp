// lintaro-desktop-files SHARE: writes below SHARE (laid out like /usr/share) the files that an
// installed viewer gives the desktop: its desktop entry, the .qdx MIME type and its icon at every
// size. They are the files that Register writes for one user, made by the same code, with the
// viewer found on the PATH.
#include <iostream>

#include "app/ProgramResources.h"
#include "app/Resource.h"
#include "app/Strings.h"
#include "platform/posix/XdgAssociation.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: lintaro-desktop-files SHARE\n";
    return 1;
  }
  RegisterResources(&ProgramResources());
  SetProgramIdentity(ProgramNames());
  DesktopFileType qdx;
  qdx.extension = kQdxExtension;
  qdx.mimeType = MimeTypeOfExtension(qdx.extension);
  qdx.description = kQdxDescription;
  qdx.icon = LoadIcon(IDR_MAINFRAME);
  qdx.program = "lintaro";
  // Installed files set nobody's default application and rebuild no database: the package
  // system's triggers do that.
  XdgAssociation files(argv[1], "", false);
  if (!files.Mirror({qdx})) {
    std::cerr << "lintaro-desktop-files: cannot write below " << argv[1] << "\n";
    return 1;
  }
  return 0;
}
