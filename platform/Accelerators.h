// Turns key presses into commands through an accelerator table.
#pragma once

#include "platform/Resources.h"
#include "platform/Win32.h"

class CWnd;

using HACCEL = const AcceleratorTemplate*;

// If the message is a key press that the table holds, with exactly the entry's Ctrl, Shift and
// Alt state, sends the window its command as an accelerator command (notification code 1, no
// control) and returns TRUE.
BOOL TranslateAccelerator(CWnd* window, HACCEL table, const MSG* msg);
