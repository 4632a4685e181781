#include "app/ProgramResources.h"

#include <algorithm>
#include <array>

#include "app/Commands.h"
#include "app/Resource.h"
#include "app/Strings.h"

namespace {
constexpr UINT kPopup = MF_POPUP;
constexpr UINT kSeparator = MF_SEPARATOR;

constexpr MenuItemTemplate kSeparatorItem{nullptr, 0, kSeparator};

consteval MenuItemTemplate Item(unsigned id, UINT flags = 0) {
  return {CommandOf(id).menuText, id, flags};
}

const MenuItemTemplate kMainMenu[] = {
    {"&File", 0, kPopup},
    Item(ID_FILE_OPEN),
    kSeparatorItem,
    Item(ID_FILE_EXIT),
    {"&View", 0, kPopup},
    Item(ID_VIEW_INFO),
    kSeparatorItem,
    Item(ID_VIEW_HEADERS, MF_CHECKED),
    kSeparatorItem,
    Item(ID_VIEW_FIND),
    Item(ID_VIEW_PICK),
    Item(ID_VIEW_DUPLICATES),
    kSeparatorItem,
    Item(ID_VIEW_ALL),
    {"&Options", 0, kPopup},
    Item(ID_OPTIONS_SAVE_SETTINGS),
    kSeparatorItem,
    Item(ID_OPTIONS_REGISTER),
    Item(ID_OPTIONS_UNREGISTER),
    {"&Help", 0, kPopup},
    Item(ID_HELP_ONLINE),
    kSeparatorItem,
    Item(ID_HELP_ABOUT),
};

// The list's context menu: one pop-up, as a menu resource that is shown on its own holds.
const MenuItemTemplate kListMenu[] = {
    {"List", 0, kPopup},     Item(ID_EDIT_COPY_ROW),  Item(ID_EDIT_COPY_ROWS),
    Item(ID_FILE_SAVE_ROWS), kSeparatorItem,          Item(ID_VIEW_ROW_DETAILS),
    Item(ID_VIEW_GO_TO_ROW), Item(ID_VIEW_FIND_NEXT),
};

// Every command with a Ctrl key, in the order of the keys; the last entry ends the table.
constexpr size_t CountAccelerators() {
  size_t count = 0;
  for (const Command& command : kCommands)
    count += command.ctrlKey ? 1 : 0;
  return count;
}

constexpr auto MakeAccelerators() {
  constexpr BYTE kCtrlKey = FVIRTKEY | FCONTROL | FNOINVERT;
  std::array<ACCEL, CountAccelerators()> table{};
  size_t at = 0;
  for (const Command& command : kCommands) {
    if (command.ctrlKey) {
      table[at++] = {kCtrlKey, static_cast<WORD>(command.ctrlKey), static_cast<WORD>(command.id)};
    }
  }
  std::sort(table.begin(), table.end(),
            [](const ACCEL& a, const ACCEL& b) { return a.key < b.key; });
  table.back().fVirt |= ACCEL_END;
  return table;
}

constexpr auto kAccelerators = MakeAccelerators();

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

const ControlTemplate kMainControls[] = {
    {ControlKind::ListView, IDC_ROWS, "", 5, 5, 164, 116,
     kChild | WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
     WS_EX_CLIENTEDGE},
};

const ControlTemplate kAboutControls[] = {
    {ControlKind::Icon, IDC_STATIC, "", 7, 7, 20, 20, kChild | SS_ICON, 0},
    {ControlKind::Static, IDC_ABOUT_TEXT, kAboutText, 30, 7, 85, 41,
     kChild | SS_NOPREFIX | WS_GROUP, 0},
    {ControlKind::Button, IDOK, "OK", 120, 7, 50, 14,
     kChild | BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP, 0},
};

const ControlTemplate kFieldQueryControls[] = {
    {ControlKind::Static, IDC_STATIC, "Field", 7, 7, 30, 12,
     kChild | WS_GROUP | SS_LEFT | SS_CENTERIMAGE, 0},
    {ControlKind::ComboBox, IDC_FIELD, "", 52, 7, 90, 78,
     kChild | CBS_DROPDOWN | WS_VSCROLL | WS_TABSTOP, 0},
    {ControlKind::Static, IDC_STATIC, "Match", 7, 25, 30, 12,
     kChild | WS_GROUP | SS_LEFT | SS_CENTERIMAGE, 0},
    {ControlKind::Edit, IDC_MATCH, "", 52, 25, 90, 12,
     kChild | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 0},
    {ControlKind::CheckBox, IDC_EXACT, "Exact match", 7, 43, 52, 10,
     kChild | BS_AUTOCHECKBOX | BS_LEFTTEXT | WS_TABSTOP, 0},
    {ControlKind::Button, IDOK, "OK", 7, 65, 50, 14, kChild | BS_DEFPUSHBUTTON | WS_TABSTOP, 0},
    {ControlKind::Button, IDCANCEL, "Cancel", 92, 65, 50, 14, kChild | BS_PUSHBUTTON | WS_TABSTOP,
     0},
};

const ControlTemplate kDuplicatesControls[] = {
    {ControlKind::Static, IDC_STATIC, "Field", 7, 7, 30, 12,
     kChild | WS_GROUP | SS_LEFT | SS_CENTERIMAGE, 0},
    {ControlKind::ComboBox, IDC_FIELD, "", 44, 7, 121, 78,
     kChild | CBS_DROPDOWN | WS_VSCROLL | WS_TABSTOP, 0},
    {ControlKind::Button, IDOK, "OK", 7, 31, 50, 14, kChild | BS_DEFPUSHBUTTON | WS_TABSTOP, 0},
    {ControlKind::Button, IDCANCEL, "Cancel", 115, 31, 50, 14, kChild | BS_PUSHBUTTON | WS_TABSTOP,
     0},
};

// Resizable: the row's window lays its controls out again at each size.
const ControlTemplate kRowDetailsControls[] = {
    {ControlKind::Edit, IDC_DETAILS, "", 7, 7, 246, 128,
     kChild | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL | WS_VSCROLL |
         WS_HSCROLL | WS_BORDER | WS_TABSTOP,
     WS_EX_CLIENTEDGE},
    {ControlKind::Button, IDOK, kCloseButton, 203, 141, 50, 14,
     kChild | BS_DEFPUSHBUTTON | WS_TABSTOP, 0},
};

const ControlTemplate kGoToRowControls[] = {
    {ControlKind::Static, IDC_ROW_RANGE, "", 7, 7, 136, 10, kChild | SS_LEFT, 0},
    {ControlKind::Edit, IDC_ROW_NUMBER, "", 7, 19, 136, 12,
     kChild | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 0},
    {ControlKind::Button, IDOK, kOkButton, 7, 39, 50, 14, kChild | BS_DEFPUSHBUTTON | WS_TABSTOP,
     0},
    {ControlKind::Button, IDCANCEL, kCancelButton, 93, 39, 50, 14,
     kChild | BS_PUSHBUTTON | WS_TABSTOP, 0},
};

constexpr const char kFont[] = "MS Sans Serif";
constexpr DWORD kModal = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;

const DialogTemplate kDialogs[] = {
    {IDD_MAIN, 0, 0, 174, 126, kTitleStart, kFont, 8,
     WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX |
         WS_MAXIMIZEBOX | DS_SETFONT,
     WS_EX_APPWINDOW, IDR_MAINMENU, kMainControls},
    {IDD_ABOUT, 0, 0, 177, 55, "About Lintaro", kFont, 8, kModal, 0, 0, kAboutControls},
    {IDD_FIELD_QUERY, 0, 0, 149, 86, kFindCaption, kFont, 8, kModal, 0, 0, kFieldQueryControls},
    {IDD_DUPLICATES, 0, 0, 172, 52, kDuplicatesCaption, kFont, 8, kModal, 0, 0,
     kDuplicatesControls},
    {IDD_ROW_DETAILS, 0, 0, 260, 162, kRowDetailsCaption, kFont, 8,
     WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_SETFONT, 0, 0, kRowDetailsControls},
    {IDD_GO_TO_ROW, 0, 0, 150, 60, kGoToRowCaption, kFont, 8, kModal, 0, 0, kGoToRowControls},
};

const MenuTemplate kMenus[] = {{IDR_MAINMENU, kMainMenu}, {IDR_LIST_MENU, kListMenu}};
const AcceleratorTemplate kAcceleratorTables[] = {{IDR_ACCELERATORS, kAccelerators}};
const StringResource kStrings[] = {{IDS_ABOUTBOX, kAboutBoxItem}};

// The icon: a sheet with a title bar and ruled rows, and a magnifying glass. Palette indices:
// 0 black, 4 navy, 7 silver, 8 grey, C blue, E cyan, F white, B yellow.
const char* const kIcon32[] = {
    "................................", "................................",
    "..0000000000000000000000000.....", "..0CCCCCCCCCCCCCCCCCCCCCCC0.....",
    "..0CFFFFCCFFFFFFCCFFFFFFCC0.....", "..0CCCCCCCCCCCCCCCCCCCCCCC0.....",
    "..0FFFFFF8FFFFFFF8FFFFFFFF0.....", "..0F4444F8F44444F8F4444FFF0.....",
    "..0FFFFFF8FFFFFFF8FFFFFFFF0.....", "..0888888888888888888888880.....",
    "..0FFFFFF8FFFFFFF8FFFFFFFF0.....", "..0F444FF8F4444FF8F44444FF0.....",
    "..0FFFFFF8FFFFFFF8FFFFFFFF0.....", "..0888888888888888888888880.....",
    "..0FFFFFF8FFFFFFF8FFFF0000000...", "..0F4444F8F444FFF8FF00EEEEE00...",
    "..0FFFFFF8FFFFFFF8F0EEFFEEEEE0..", "..088888888888888880EFFEEEEEE0..",
    "..0FFFFFF8FFFFFFF8F0EEEEEEEEE0..", "..0F44FFF8F44444F8F0EEEEEEEEE0..",
    "..0FFFFFF8FFFFFFF8F0EEEEEEEEE0..", "..0888888888888888880EEEEEEE00..",
    "..0FFFFFF8FFFFFFF8FF00EEEEE000..", "..0F4444F8F444FFF8FFFF0000000B0.",
    "..0FFFFFF8FFFFFFF8FFFFFFFFF0BBB0", "..00000000000000000000000000BBB0",
    "............................0BBB", ".............................0BB",
    "..............................00", "................................",
    "................................", "................................",
};

const char* const kIcon16[] = {
    "................", ".000000000000...", ".0CCCCCCCCCC0...", ".0FFF8FFF8FF0...",
    ".0888888888880..", ".0F4F8F44F8F0...", ".0888888888880..", ".0FFF8FF000000..",
    ".0F4F8F0EEEEE0..", ".088888FEFEEE0..", ".0FFF8F0EEEEE0..", ".0000000000000B.",
    "............0BBB", ".............0BB", "..............00", "................",
};

const IconImage kIconImages[] = {{32, kIcon32}, {16, kIcon16}};
const Icon kIcons[] = {{IDR_MAINFRAME, kIconImages}};

const ResourceSet kResources{kDialogs, kMenus, kAcceleratorTables, kStrings, kIcons};
}  // namespace

const ResourceSet& ProgramResources() {
  return kResources;
}

// Everything is called after the program.
const ProgramIdentity& ProgramNames() {
  static constexpr ProgramIdentity kNames{"lintaro", "Lintaro", "lintaro.desktop", "lintaro",
                                          "lintaro.xml"};
  return kNames;
}
