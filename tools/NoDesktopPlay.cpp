#include "tools/DesktopPlay.h"

int PlayOnDesktop(std::istream& /*script*/, std::ostream& /*out*/, std::ostream& err,
                  const std::string& /*programPath*/) {
  err << "lintaro-script: this build has no desktop program\n";
  return 1;
}
