#include "platform/win32/native/DialogTemplateBuilder.h"

#include <windows.h>

#include <commctrl.h>

#include <cstring>

namespace native {
namespace {
// The predefined control classes go into a template as ordinals.
constexpr uint16_t kButtonAtom = 0x0080;
constexpr uint16_t kEditAtom = 0x0081;
constexpr uint16_t kStaticAtom = 0x0082;
constexpr uint16_t kComboBoxAtom = 0x0085;

uint16_t ClassAtom(ControlKind kind) {
  switch (kind) {
    case ControlKind::Button:
    case ControlKind::CheckBox:
      return kButtonAtom;
    case ControlKind::Edit:
      return kEditAtom;
    case ControlKind::ComboBox:
      return kComboBoxAtom;
    case ControlKind::Static:
    case ControlKind::Icon:
    case ControlKind::ListView:
      break;
  }
  return kStaticAtom;
}
}  // namespace

void DialogTemplateBuilder::Dword(uint32_t value) {
  Word(static_cast<uint16_t>(value & 0xFFFF));
  Word(static_cast<uint16_t>(value >> 16));
}

// Texts are 8-bit in the system code page; a template holds UTF-16.
void DialogTemplateBuilder::Text(const std::string& text) {
  if (!text.empty()) {
    int length =
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::vector<wchar_t> wide(static_cast<size_t>(length));
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    for (wchar_t c : wide)
      Word(static_cast<uint16_t>(c));
  }
  Word(0);
}

void DialogTemplateBuilder::AlignToDword() {
  if (words_.size() % 2 != 0)
    Word(0);
}

void DialogTemplateBuilder::Control(const ControlDescription& control) {
  AlignToDword();
  uint32_t style = control.style | WS_CHILD | WS_VISIBLE;
  if (control.kind == ControlKind::ListView)
    style |= LVS_OWNERDATA;
  Dword(0);  // help id
  Dword(control.exStyle);
  Dword(style);
  Word(static_cast<uint16_t>(control.x));
  Word(static_cast<uint16_t>(control.y));
  Word(static_cast<uint16_t>(control.cx));
  Word(static_cast<uint16_t>(control.cy));
  Dword(static_cast<uint32_t>(control.id));
  if (control.kind == ControlKind::ListView) {
    Text(WC_LISTVIEWA);
  } else {
    Word(0xFFFF);
    Word(ClassAtom(control.kind));
  }
  // An icon's picture is set once the control exists, not named here.
  Text(control.kind == ControlKind::Icon ? std::string() : control.text);
  Word(0);  // no creation data
}

std::vector<uint32_t> DialogTemplateBuilder::Build(const DialogDescription& layout) {
  std::vector<uint16_t> words;
  DialogTemplateBuilder out(&words);
  uint32_t style = layout.style;
  if (!layout.fontName.empty())
    style |= DS_SETFONT;
  out.Word(1);       // version
  out.Word(0xFFFF);  // extended template
  out.Dword(0);      // help id
  out.Dword(layout.exStyle);
  out.Dword(style);
  out.Word(static_cast<uint16_t>(layout.controls.size()));
  out.Word(static_cast<uint16_t>(layout.x));
  out.Word(static_cast<uint16_t>(layout.y));
  out.Word(static_cast<uint16_t>(layout.cx));
  out.Word(static_cast<uint16_t>(layout.cy));
  out.Word(0);  // no menu: a menu bar is built at run time
  out.Word(0);  // the dialog class
  out.Text(layout.caption);
  if (style & DS_SETFONT) {
    out.Word(static_cast<uint16_t>(layout.pointSize));
    out.Word(FW_NORMAL);
    out.Word(DEFAULT_CHARSET << 8);  // italic: no; character set
    out.Text(layout.fontName);
  }
  for (const ControlDescription& control : layout.controls)
    out.Control(control);
  out.AlignToDword();
  std::vector<uint32_t> dwords(words.size() / 2);
  std::memcpy(dwords.data(), words.data(), dwords.size() * sizeof(uint32_t));
  return dwords;
}

}  // namespace native
