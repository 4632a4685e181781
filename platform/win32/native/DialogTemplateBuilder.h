// Lays out a dialog description as an extended dialog template in memory, the form that the
// window system creates dialogs from, so that it converts dialog units and sets the font itself.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32/native/NativeTypes.h"

namespace native {

class DialogTemplateBuilder {
 public:
  // The template, DWORD-aligned. List views are always made virtual (their items are asked for,
  // never stored), and every control is a visible child.
  static std::vector<uint32_t> Build(const DialogDescription& layout);

 private:
  explicit DialogTemplateBuilder(std::vector<uint16_t>* words) : words_(*words) {}

  void Word(uint16_t value) { words_.push_back(value); }
  void Dword(uint32_t value);
  void Text(const std::string& text);
  void AlignToDword();
  void Control(const ControlDescription& control);

  std::vector<uint16_t>& words_;
};

}  // namespace native
