// The user's choice of default applications: the [Default Applications] group of mimeapps.list,
// whose lines are "<MIME type>=<desktop id>;<desktop id>;...", first choice first. The file is
// the user's: the program changes only its own choice for its own types.
#pragma once

#include <string>
#include <vector>

// The file's text with `desktopId` the first choice for each of `handled` and no choice for the
// other types of `own` (the types that the program's keys define). Every line of any other type,
// every other group, comment and blank line stays byte for byte, and so does each line's end
// (LF or CR LF, which new lines follow too). A group that holds nothing once a line of ours has
// gone goes with it, as Register adds one to a file that has none, so what Register adds to a
// file, Unregister takes away again.
std::string UpdateDefaultApplications(const std::string& text, const std::vector<std::string>& own,
                                      const std::vector<std::string>& handled,
                                      const std::string& desktopId);
