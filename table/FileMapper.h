// The system's way to map a whole file read-only, handed to the table by the program. The table
// maps files itself where the system lets plain code do it (mmap on Linux); on Windows the mapping
// lives behind the program's shim of the system, which the table never sees, so each program
// hands it in once at start. Without one the table reads each file into memory of its own.
#pragma once

#include <cstdint>

// One whole file as the mapper mapped it.
struct MappedBytes {
  const char* data = nullptr;  // null for an empty file
  uint64_t size = 0;
  void* handle = nullptr;  // the mapper's own, given back to `unmap`
};

struct FileMapper {
  // Maps the file at `path` whole, read-only. False, with nothing mapped, when it is no file on a
  // disk, cannot be opened, or does not fit the address space.
  bool (*map)(const char* path, MappedBytes& bytes);
  // Gives back what `map` mapped; the bytes are gone then.
  void (*unmap)(void* handle);
};

// Hands the table the mapper that every file opened from now on is mapped with; null takes it
// back. Call it before any file is opened; a file already open stays with the mapper it came from.
void UseFileMapper(const FileMapper* mapper);
