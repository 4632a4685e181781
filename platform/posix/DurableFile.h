// Whole-file reads and writes for files that must survive a crash: a file is only ever replaced
// as a whole, so a reader sees the old content or the new one and never a part. A file that the
// user has made a symbolic link (a dotfiles folder, say) stays one: the link's target is what is
// replaced. Results are 0 or the errno of the failure.
#pragma once

#include <sys/types.h>

#include <string>

int ReadWholeFile(const std::string& path, std::string* bytes);

// The folder that holds the file at `path`.
std::string FolderOf(const std::string& path);

// The file that `path` names: when its last part is a symbolic link, the file at the end of the
// links (which need not exist yet), a relative link read from the folder that holds it; else
// `path` itself.
std::string LinkedFile(const std::string& path);

// Writes the bytes to a temporary file beside the linked file, flushes it to the disk, renames it
// over that file and flushes the folder, so the rename itself is on the disk too. The file keeps
// its mode; a new one gets `newMode`.
int ReplaceFile(const std::string& path, const std::string& bytes, mode_t newMode);

// Removes the temporary files that a ReplaceFile of the file at `path` (no link) left behind when
// its process died before the rename. Callers hold the folder's lock, so no other replace is
// under way.
void RemoveStaleTemporaries(const std::string& path);

// For tests of a crash at the worst moment: `hook` runs with the temporary file's path once it is
// written and flushed, just before the rename. Null takes it away.
void SetBeforeReplaceHook(void (*hook)(const std::string& temporary));

// Renames the file to its name followed by `suffix`, adding "-2", "-3"... when a file of that
// name is there already; an earlier file is never replaced. Callers hold the folder's lock.
int MoveAside(const std::string& path, const std::string& suffix);

// Creates the folder and the missing folders above it.
int MakeFolders(const std::string& folder);

// Removes `folder` if it is empty, and then each folder above it that is left empty, up to but
// not including `top`: what was made to hold a file goes with the file.
void RemoveEmptyFolders(std::string folder, const std::string& top);
