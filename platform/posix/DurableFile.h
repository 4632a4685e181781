// Whole-file reads and writes for files that must survive a crash: a file is only ever replaced
// as a whole, so a reader sees the old content or the new one and never a part. Results are 0 or
// the errno of the failure.
#pragma once

#include <string>

int ReadWholeFile(const std::string& path, std::string* bytes);

// Writes the bytes to a temporary file in the folder, flushes it to the disk, renames it over
// `name` and flushes the folder, so the rename itself is on the disk too.
int ReplaceFile(const std::string& folder, const std::string& name, const std::string& bytes);

// Removes the temporary files that a ReplaceFile of `name` left behind when its process died
// before the rename. Callers hold the folder's lock, so no other replace is under way.
void RemoveStaleTemporaries(const std::string& folder, const std::string& name);

// For tests of a crash at the worst moment: `hook` runs with the temporary file's path once it is
// written and flushed, just before the rename. Null takes it away.
void SetBeforeReplaceHook(void (*hook)(const std::string& temporary));

// Renames the file to its name followed by `suffix`, adding "-2", "-3"... when a file of that
// name is there already; an earlier file is never replaced. Callers hold the folder's lock.
int MoveAside(const std::string& path, const std::string& suffix);

// Creates the folder and the missing folders above it.
int MakeFolders(const std::string& folder);
