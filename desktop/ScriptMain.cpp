// lintaro-script in a build with the desktop program: --desktop plays the script in its windows.
#include "desktop/DesktopPlay.h"
#include "tools/LintaroScript.h"

int main(int argc, char** argv) {
  return LintaroScript(argc, argv, PlayOnDesktop);
}
