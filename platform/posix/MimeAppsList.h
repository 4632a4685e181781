// The user's choice of default applications: the [Default Applications] group of mimeapps.list,
// whose lines are "<MIME type>=<desktop id>;<desktop id>;...", first choice first.
#pragma once

#include <string>
#include <vector>

// The file's text with `desktopId` the default application of each of `types` and of no other
// type. Every other line, group and choice is kept as it was.
std::string UpdateDefaultApplications(const std::string& text,
                                      const std::vector<std::string>& types,
                                      const std::string& desktopId);
