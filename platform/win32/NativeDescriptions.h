// The program's resources and menus as the native shim takes them: the same templates, tables and
// pictures that every backend shows.
#pragma once

#include <vector>

#include "platform/IconBitmap.h"
#include "platform/Menu.h"
#include "platform/Resources.h"
#include "platform/win32/native/NativeTypes.h"

native::DialogDescription DescribeDialog(const DialogTemplate& source);
// The menu bar with its check marks as they are now.
std::vector<native::MenuRow> DescribeMenuBar(const CMenu& menu);
native::MenuRow DescribeMenuItem(const CMenu::Item& item);
// A pop-up menu with its submenus.
std::vector<native::PopupEntry> DescribePopupMenu(const CMenu& menu);
std::vector<native::AcceleratorEntry> DescribeAccelerators(const AcceleratorTemplate& table);
native::IconPixels DescribeIconBitmap(IconBitmap bitmap);
