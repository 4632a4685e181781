// A shared-mime-info package: the XML file that defines MIME types by their file-name patterns.
#pragma once

#include <string>
#include <vector>

#include "platform/posix/DesktopFileType.h"

// One <mime-type> for each type: its description as the comment, "*.<extension>" as the
// pattern, and `iconName` as its icon when the type has one.
std::string MimePackageText(const std::vector<DesktopFileType>& types, const std::string& iconName);
