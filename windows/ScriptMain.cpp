// lintaro-script.exe: the script driver on Windows, which opens files through the system's mapping
// as lintaro.exe does, so that a script sees what the user would.
#include "tools/LintaroScript.h"
#include "windows/FileViewMapper.h"

int main(int argc, char** argv) {
  UseFileMapper(&kFileViewMapper);
  return LintaroScript(argc, argv, nullptr);
}
