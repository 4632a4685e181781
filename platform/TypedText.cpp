#include "platform/TypedText.h"

#include <algorithm>

#include "platform/CellText.h"

std::vector<std::string> TypedForms(const std::string& composed, const std::string& decomposed) {
  std::vector<std::string> forms{composed};
  auto add = [&forms](const std::string& form) {
    if (std::find(forms.begin(), forms.end(), form) == forms.end())
      forms.push_back(form);
  };
  add(decomposed);
  std::string eightBit;
  if (Utf8ToWindows1252(composed, eightBit))
    add(eightBit);
  return forms;
}
