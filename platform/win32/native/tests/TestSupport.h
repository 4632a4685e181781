// Helpers that drive windows with messages, as a user would, with no user.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/win32/native/ModalLoop.h"
#include "platform/win32/native/NativeTypes.h"

// Dispatches every message already queued for this thread.
void PumpMessages();

// Runs `action` once with the first visible dialog box (class #32770) of this thread, as soon as
// one shows; used to answer the window system's own modal dialogs.
void WhenDialogShows(std::function<void(HWND)> action);

// A key pressed and released, with Control held or not, as the keyboard would: to the window
// that has the focus, with the key state following each message as it is retrieved.
void PressKey(UINT key, bool control);

// A left click at a point of the window's client area.
void ClickAt(HWND window, POINT point);

std::string WindowText(HWND window);
std::string ClassOf(HWND window);

// The icon's pixels from the top left, as 0xRRGGBB, and -1 where it is transparent.
std::vector<int32_t> IconPixelsOf(HICON icon, int size);

// Runs the modal loop as ModalLoop::Run does, but ends it with -1 after five seconds, so that a
// loop that nothing ends fails its test instead of hanging it.
bool RunModal(native::ModalLoop& loop, HWND dialog, HWND owner, native::Handle keys,
              native::MessageFilter* filter);
