// What the shell and the file system are told and asked about files: associations that changed,
// documents the user opened, full paths.
#pragma once

#include <string>

namespace native {

void NotifyAssociationsChanged();
// Adds a file to the user's recent documents, which the file dialogs offer among their places.
void AddToRecentDocuments(const char* path);
// The full path of a file name, as the system makes it from the working folder; empty when it
// cannot.
std::string FullPathName(const char* name);

}  // namespace native
