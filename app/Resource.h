// Resource and command identifiers.
#pragma once

// Dialog templates.
constexpr int IDD_ABOUT = 100;
constexpr int IDD_MAIN = 102;
constexpr int IDD_FIELD_QUERY = 132;
constexpr int IDD_DUPLICATES = 133;
constexpr int IDD_ROW_DETAILS = 135;
constexpr int IDD_GO_TO_ROW = 136;

// Strings, menus, accelerators and icons.
constexpr int IDS_ABOUTBOX = 101;
constexpr int IDR_MAINFRAME = 128;
constexpr int IDR_MAINMENU = 129;
constexpr int IDR_ACCELERATORS = 131;
constexpr int IDR_LIST_MENU = 134;

// Controls.
constexpr int IDC_STATIC = -1;
constexpr int IDC_ROWS = 1002;
constexpr int IDC_FIELD = 1003;
constexpr int IDC_EXACT = 1005;
constexpr int IDC_MATCH = 1006;
constexpr int IDC_ABOUT_TEXT = 1007;
constexpr int IDC_DETAILS = 1008;
constexpr int IDC_ROW_RANGE = 1009;
constexpr int IDC_ROW_NUMBER = 1010;

// System menu.
constexpr unsigned IDM_ABOUTBOX = 0x0010;

// Commands.
constexpr unsigned ID_HELP_ABOUT = 32771;
constexpr unsigned ID_FILE_EXIT = 32772;
constexpr unsigned ID_VIEW_PICK = 32774;
constexpr unsigned ID_VIEW_ALL = 32775;
constexpr unsigned ID_VIEW_FIND = 32776;
constexpr unsigned ID_VIEW_INFO = 32778;
constexpr unsigned ID_VIEW_DUPLICATES = 32779;
constexpr unsigned ID_VIEW_HEADERS = 32780;
constexpr unsigned ID_OPTIONS_REGISTER = 32781;
constexpr unsigned ID_OPTIONS_SAVE_SETTINGS = 32782;
constexpr unsigned ID_HELP_ONLINE = 32783;
constexpr unsigned ID_OPTIONS_UNREGISTER = 32784;
// The list's own commands, in its context menu and keys.
constexpr unsigned ID_EDIT_COPY_ROW = 32785;
constexpr unsigned ID_EDIT_COPY_ROWS = 32786;
constexpr unsigned ID_FILE_SAVE_ROWS = 32787;
constexpr unsigned ID_VIEW_ROW_DETAILS = 32788;
constexpr unsigned ID_VIEW_GO_TO_ROW = 32789;
constexpr unsigned ID_VIEW_FIND_NEXT = 32790;
constexpr unsigned ID_FILE_OPEN = 57601;
// The recent files in the list's context menu, most recent first.
constexpr unsigned ID_FILE_MRU_FILE1 = 57616;
constexpr unsigned ID_FILE_MRU_FILE2 = 57617;
constexpr unsigned ID_FILE_MRU_FILE3 = 57618;
constexpr unsigned ID_FILE_MRU_FILE4 = 57619;
constexpr unsigned ID_HELP = 57670;
