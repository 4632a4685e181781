// Memory for big buffers. Fresh memory costs a page fault per 4 KiB; on a file of a gigabyte that
// is most of the time spent reading it, and huge pages take most of those faults away.
#pragma once

#include <cstddef>

// An uninitialised block of at least `size` bytes on huge pages where the system has them; release
// it with std::free. Null when there is no room.
void* AllocateHugePages(size_t size);
