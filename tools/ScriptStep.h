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

struct ScriptStep {
  enum class Kind {
    Start,
    Menu,
    Key,
    Close,
    SysCommand,
    ClickTitle,
    Select,
    Placement,
    Dump,
    SortArrow,
    Drop,
    Dialog,
    File,
    RegShow,
    RegSet,
    RegDelete,
  };
  Kind kind = Kind::Dump;
  std::string tail;      // start: the command line after the program name; drop: the file
  unsigned command = 0;  // menu: the command id
  UINT key = 0;          // key: the virtual key
  bool ctrl = false;     // key: with Ctrl
  bool shift = false;    // key: with Shift
  bool alt = false;      // key: with Alt
  long number = 0;       // syscommand, click-title, select (-1: none)
  WINDOWPLACEMENT placement;
  DialogAnswer dialog;
  FileAnswer file;
  // reg-show, reg-set, reg-delete: the key as written, its root and its path below the root.
  std::string keyName;
  HKEY root = nullptr;
  std::string keyPath;
  RegistryValue value;  // reg-set
};
