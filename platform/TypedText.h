// What the user typed into a box, as the program compares it with a file's bytes. A file shows a
// letter in more than one way (as UTF-8, composed or as a letter and its accent, or as
// Windows-1252), so each backend hands on every text of bytes that shows the typed characters.
#pragma once

#include <string>
#include <vector>

// The typed text in its composed and its decomposed normal form, as UTF-8, the window system
// having normalized it: the composed form first, which is what the box holds, then the
// decomposed form and the Windows-1252 bytes of the composed one, each where it differs from the
// forms before it and the latter where every character has a byte there.
std::vector<std::string> TypedForms(const std::string& composed, const std::string& decomposed);
