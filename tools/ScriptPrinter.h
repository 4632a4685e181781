// The output lines of lintaro-script: one line for each thing the user sees.
#pragma once

#include <ostream>
#include <string>

#include "platform/Registry.h"

class CComboBox;
class MainWindow;

class ScriptPrinter {
 public:
  explicit ScriptPrinter(std::ostream& out) : out_(out) {}

  void Title(const std::string& text);
  void Box(const std::string& caption, const std::string& text);
  // A field chooser, once its list is filled.
  void FieldChooser(const std::string& caption, const CComboBox& field);
  void FileDialog(const char* initialLocation);
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

  std::ostream& out_;
};
