// Which icon an icon control shows, as every backend draws it.
#pragma once

#include "platform/Resources.h"

class CWnd;

// The icon that an SS_ICON static shows: the resource its text names ("128" or "#128"), else the
// icon of the window it belongs to, else the application's. Null when there is none.
HICON IconOfStatic(const CWnd& control);
