// Mapped files that another program cuts short. Linux raises SIGBUS on a read of a page past the
// file's new end; a watched mapping gets zero pages in place of everything from that page on, and
// the read goes on and finds zero bytes. Any other SIGBUS goes where it went before.
#pragma once

#include <cstddef>

// Starts watching [start, start + size); returns the slot to pass to the others, or -1 when every
// slot is taken (the mapping is then not watched, as without this guard).
int WatchMapping(const void* start, size_t size);
// Stops watching, before the mapping goes away.
void UnwatchMapping(int slot);
// Whether pages of the watched mapping were lost.
bool MappingLostPages(int slot);
