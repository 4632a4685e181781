// The output lines of lintaro-script: one line for each thing the user sees.
#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "platform/Registry.h"

class CComboBox;
class CMenu;
class MainWindow;

class ScriptPrinter {
 public:
  explicit ScriptPrinter(std::ostream& out) : out_(out) {}

  void Title(const std::string& text);
  void Box(const std::string& caption, const std::string& text);
  // A field chooser, once its list is filled.
  void FieldChooser(const std::string& caption, const CComboBox& field);
  void FileDialog(const char* initialLocation);
  void SaveDialog(const char* initialLocation);
  // The Save dialog asks whether to replace the file that exists.
  void Overwrite(const std::string& path);
  void GoToRow(const std::string& label);
  // A dialog that shows a text, with its caption.
  void Details(const std::string& caption, const std::string& text);
  // A context menu that is left without a pick.
  void Popup(const CMenu& menu);
  // What the clipboard holds, or none.
  void Clipboard(const std::optional<std::string>& text);
  void About();
  void Exit();
  void Error(const char* what);
  void Dump(MainWindow& window);
  // The arrow in the list's column titles: HDF_SORTUP or HDF_SORTDOWN on `column`, or none.
  void SortArrow(int column, int arrow);
  // A registry key: its values and then its direct subkeys, each in name order.
  void RegistryKey(const std::string& name, HKEY root, const std::string& path);
  void Flush() { out_.flush(); }

 private:
  // A line break inside a text is written as the two characters \n.
  static std::string Escape(const std::string& text);
  // Every byte that would make a text ambiguous or break its line as two characters: \\ for a
  // backslash, \t for a tab, \r for a CR and \n for an LF.
  static std::string EscapeAll(const std::string& text);
  static std::string Entries(const CMenu& menu);

  std::ostream& out_;
};
