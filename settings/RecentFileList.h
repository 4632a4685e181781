// The files the user opened last, most recent first, at most four. They are kept in the per-user
// registry beside the settings image, in the subkey "Recent File List" of the settings key, as the
// string values "File1" to "File4", and stored and removed together with the image.
#pragma once

#include <string>
#include <vector>

class RecentFileList {
 public:
  static constexpr size_t kSize = 4;
  // Where the list is kept, under HKEY_CURRENT_USER.
  static std::string Key();

  // Reads the stored list. A value that is missing, not a string, empty, or names a file the list
  // already holds is passed over.
  void ReadList();
  // With `keep`, stores the list in place of the stored one; an empty list leaves no key. Without,
  // removes the stored list: the settings key, whose subkey it is, can only be deleted after it.
  void Save(bool keep) const;

  // A file has been opened: its full path goes first, once, and the desktop hears of it where it
  // keeps recent documents of its own. A fifth file pushes the oldest out.
  void Add(const std::string& path);
  // Takes a file off the list, by any name of it that Add would take: it no longer opens.
  void Remove(const std::string& path);
  const std::vector<std::string>& Files() const { return files_; }

 private:
  std::vector<std::string> files_;
};
