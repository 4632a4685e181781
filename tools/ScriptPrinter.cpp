#include "tools/ScriptPrinter.h"

#include "app/MainWindow.h"
#include "app/Resource.h"
#include "platform/ComboBox.h"
#include "platform/Menu.h"

namespace {
int IsChecked(const CWnd& window, unsigned id) {
  CMenu* menu = window.GetMenu();
  return menu && (menu->GetMenuState(id, MF_BYCOMMAND) & MF_CHECKED) ? 1 : 0;
}

const char* TypeName(DWORD type) {
  switch (type) {
    case REG_SZ:
      return "REG_SZ";
    case REG_BINARY:
      return "REG_BINARY";
    case REG_DWORD:
      return "REG_DWORD";
    default:
      return "REG_NONE";
  }
}

std::string Hex(const std::vector<BYTE>& bytes) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  for (BYTE b : bytes) {
    hex += kDigits[b >> 4];
    hex += kDigits[b & 0xF];
  }
  return hex;
}

// An index, or "none" for -1.
std::string IndexOrNone(int index) {
  return index < 0 ? std::string("none") : std::to_string(index);
}
}  // namespace

std::string ScriptPrinter::Escape(const std::string& text) {
  std::string escaped;
  for (char c : text) {
    if (c == '\n') {
      escaped += "\\n";
    } else {
      escaped += c;
    }
  }
  return escaped;
}

std::string ScriptPrinter::EscapeAll(const std::string& text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '\\':
        escaped += "\\\\";
        break;
      case '\t':
        escaped += "\\t";
        break;
      case '\r':
        escaped += "\\r";
        break;
      case '\n':
        escaped += "\\n";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

// Items by their text; a separator is "-", and a submenu is its text and its entries in brackets.
std::string ScriptPrinter::Entries(const CMenu& menu) {
  std::string entries;
  for (const CMenu::Item& item : menu.Items()) {
    if (!entries.empty())
      entries += ';';
    if (item.state & MF_SEPARATOR) {
      entries += '-';
      continue;
    }
    entries += EscapeAll(item.text);
    if (item.state & MF_GRAYED)
      entries += " (greyed)";
    if (!item.popup)
      continue;
    entries += '[';
    entries += Entries(*item.popup);
    entries += ']';
  }
  return entries;
}

void ScriptPrinter::Title(const std::string& text) {
  out_ << "title " << Escape(text) << "\n";
}

void ScriptPrinter::Box(const std::string& caption, const std::string& text) {
  out_ << "box " << caption << ": " << Escape(text) << "\n";
}

void ScriptPrinter::FieldChooser(const std::string& caption, const CComboBox& field) {
  out_ << "dialog " << caption << ":";
  for (int i = 0; i < field.GetCount(); ++i)
    out_ << (i == 0 ? " " : ";") << field.GetItemText(i);
  out_ << " selected " << IndexOrNone(field.GetCurSel()) << "\n";
}

void ScriptPrinter::FileDialog(const char* initialLocation) {
  out_ << "filedialog " << (initialLocation ? initialLocation : "none") << "\n";
}

void ScriptPrinter::SaveDialog(const char* initialLocation) {
  out_ << "savedialog " << (initialLocation ? initialLocation : "none") << "\n";
}

void ScriptPrinter::Overwrite(const std::string& path) {
  out_ << "overwrite " << path << "\n";
}

void ScriptPrinter::GoToRow(const std::string& label) {
  out_ << "gotorow " << label << "\n";
}

void ScriptPrinter::Details(const std::string& caption, const std::string& text) {
  out_ << "details " << caption << ": " << EscapeAll(text) << "\n";
}

void ScriptPrinter::Popup(const CMenu& menu) {
  out_ << "popup " << Entries(menu) << "\n";
}

void ScriptPrinter::Clipboard(const std::optional<std::string>& text) {
  if (!text) {
    out_ << "clipboard none\n";
    return;
  }
  out_ << "clipboard: " << EscapeAll(*text) << "\n";
}

void ScriptPrinter::About() {
  out_ << "about\n";
}

void ScriptPrinter::Exit() {
  out_ << "exit\n";
}

void ScriptPrinter::Error(const char* what) {
  out_ << "error: " << what << "\n";
}

void ScriptPrinter::Dump(MainWindow& window) {
  RowListView& list = window.list;
  out_ << "window " << Escape(window.GetWindowText()) << "\n";
  out_ << "checks headers=" << IsChecked(window, ID_VIEW_HEADERS)
       << " save=" << IsChecked(window, ID_OPTIONS_SAVE_SETTINGS)
       << " help=" << IsChecked(window, ID_HELP_ONLINE) << "\n";
  WINDOWPLACEMENT placement;
  window.GetWindowPlacement(&placement);
  const RECT& r = placement.rcNormalPosition;
  out_ << "placement " << placement.showCmd << " " << r.left << " " << r.top << " " << r.right
       << " " << r.bottom << "\n";
  int columns = list.GetColumnCount();
  out_ << "columns " << columns << ":";
  for (int k = 0; k < columns; ++k)
    out_ << (k == 0 ? " " : ";") << list.GetColumnHeading(k);
  out_ << "\n";
  out_ << "rows " << list.GetItemCount() << " selected "
       << IndexOrNone(list.GetNextItem(-1, LVNI_SELECTED)) << "\n";
  for (int i = 0; i < list.GetItemCount(); ++i) {
    out_ << "row ";
    for (int k = 0; k < columns; ++k)
      out_ << (k == 0 ? "" : ";") << list.GetItemText(i, k);
    out_ << "\n";
  }
}

void ScriptPrinter::SortArrow(int column, int arrow) {
  out_ << "sort-arrow ";
  if (column < 0 || (arrow != HDF_SORTUP && arrow != HDF_SORTDOWN)) {
    out_ << "none\n";
    return;
  }
  out_ << column << (arrow == HDF_SORTUP ? " up" : " down") << "\n";
}

void ScriptPrinter::RegistryKey(const std::string& name, HKEY root, const std::string& path) {
  RegistryListing listing;
  if (RegListKey(root, path.c_str(), &listing) != ERROR_SUCCESS) {
    out_ << "key " << name << " missing\n";
    return;
  }
  out_ << "key " << name << "\n";
  for (const RegistryValue& value : listing.values) {
    out_ << "value \"" << value.name << "\" " << TypeName(value.type) << " " << Hex(value.data)
         << "\n";
  }
  for (const std::string& subkey : listing.subkeys)
    out_ << "subkey " << subkey << "\n";
}
