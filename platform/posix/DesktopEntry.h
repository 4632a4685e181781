// The text of desktop entries (.desktop files), whose values follow their own escaping rules: a
// string value escapes backslashes and line breaks, and the Exec value is an argument list in
// which a program path with blanks or shell characters must be quoted.
#pragma once

#include <string>
#include <vector>

// The text as a string value stores it. False for text that has no such form: not UTF-8, or
// holding a control character other than line feed, tab and carriage return.
bool DesktopStringValue(const std::string& text, std::string* value);

// The program as the first word of an Exec value, before the string escaping: the path as it is
// when it has no reserved character, else quoted with '"', '`', '$' and '\' escaped; '%' doubled
// either way. False for a program that is neither an absolute path nor a bare name.
bool ExecProgramArgument(const std::string& program, std::string* argument);

// The entry of an application that opens one file at a time: its name as menus show it, the
// program that opens a file, the icon of that name (none when empty), for these MIME types. False
// when the name is empty or the program cannot be written as an Exec value.
bool DesktopEntryText(const std::string& appName, const std::string& program,
                      const std::string& iconName, const std::vector<std::string>& mimeTypes,
                      std::string* text);
