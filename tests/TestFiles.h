// Scratch folders for tests that read files from disk, and a way to run a viewer script
// in-process from such a folder.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/headless/HeadlessBackend.h"

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& Root() const { return root_; }
  std::string Path(const std::string& name) const { return (root_ / name).string(); }
  // Writes the bytes exactly as given (NUL and CR included), making the folders on the way, and
  // returns the file's path.
  std::string Write(const std::string& name, std::string_view bytes) const;

 private:
  std::filesystem::path root_;
};

// A backend with no user, current while it lives: enough for controls that exist outside a
// running dialog.
class QuietBackend : public HeadlessBackend {
 public:
  QuietBackend() { SetBackend(this); }
  ~QuietBackend() override { SetBackend(nullptr); }
  int MessageBox(CWnd&, const std::string&, const std::string&, UINT) override { return IDOK; }
  int RunFileDialog(CFileDialog&) override { return IDCANCEL; }

 protected:
  bool NextMessage(CDialog&, MSG&) override { return false; }
};

// What one run of the script driver printed.
struct ScriptOutput {
  int status = 0;
  std::string out;
  std::string err;
};

#if defined(_WIN32)
#include "platform/win32/WindowsRegistryStore.h"

// A store whose roots are fresh keys named after `name` in the real registry, below one key of the
// test program's own that it removes as it starts and ends.
WindowsRegistryStore TestRegistryStore(const std::string& name);
#endif

// Runs the script through the script driver in this process, with `dir` as the working folder
// and the registry and the desktop's files kept below it (cfg/ and data/ as XDG_CONFIG_HOME and
// XDG_DATA_HOME), so relative file names in the script name files in `dir`.
// The program is called "lintaro", which is the caption of boxes that give none.
ScriptOutput RunScript(const TempDir& dir, const std::string& script);
