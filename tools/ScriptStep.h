// One line of a script for lintaro-script, parsed.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/Registry.h"
#include "platform/Win32.h"

struct DialogAnswer {
  enum Kind { Ok, Cancel, Fail } kind = Ok;
  std::optional<int> field;
  bool exact = false;
  std::optional<std::string> match;
};

struct FileAnswer {
  bool ok = false;
  std::string path;
};

// The Save dialog: the user names a file and saves, and answers the question whether to replace
// a file that exists with yes, or with no (keep), which leaves the dialog with Cancel.
struct SaveAnswer {
  enum Kind { Save, Keep, Cancel } kind = Cancel;
  std::string path;
  bool asked = false;  // whether the dialog asks; known once it has opened
};

// The Go to row dialog: the user types the text and presses OK, or presses Cancel.
struct GoToAnswer {
  bool ok = false;
  std::string text;
};

struct ScriptStep {
  enum class Kind {
    Start,
    Menu,
    Key,
    Close,
    SysCommand,
    ClickTitle,
    Select,
    RightClick,
    DoubleClick,
    Placement,
    Dump,
    SortArrow,
    Drop,
    Remove,
    Clipboard,
    Dialog,
    File,
    Pick,
    Save,
    GoTo,
    RegShow,
    RegSet,
    RegDelete,
  };
  Kind kind = Kind::Dump;
  std::string tail;      // start: the command line after the program name; drop, remove: the file
  unsigned command = 0;  // menu, pick: the command id
  UINT key = 0;          // key: the virtual key
  bool ctrl = false;     // key: with Ctrl
  bool shift = false;    // key: with Shift
  bool alt = false;      // key: with Alt
  long number = 0;       // syscommand, click-title, select, right-click, double-click (-1: none)
  WINDOWPLACEMENT placement;
  DialogAnswer dialog;
  FileAnswer file;
  SaveAnswer save;
  GoToAnswer goTo;
  // reg-show, reg-set, reg-delete: the key as written, its root and its path below the root.
  std::string keyName;
  HKEY root = nullptr;
  std::string keyPath;
  RegistryValue value;  // reg-set
};
