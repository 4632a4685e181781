// Memory for big buffers. Fresh memory costs a page fault per 4 KiB; on a file of a gigabyte that
// is most of the time spent reading it, and huge pages take most of those faults away.
#pragma once

#include <cstddef>

// Asks for huge pages over the whole 2 MiB pages inside [start, start + size).
void PreferHugePages(void* start, size_t size);

// An uninitialised block of at least `size` bytes on huge pages where the system has them; release
// it with std::free. Null when there is no room.
void* AllocateHugePages(size_t size);
