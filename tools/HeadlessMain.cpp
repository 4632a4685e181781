// lintaro-script in a build without the desktop program: --desktop says that it cannot.
#include "tools/LintaroScript.h"

int main(int argc, char** argv) {
  return LintaroScript(argc, argv, nullptr);
}
