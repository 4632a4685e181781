// Reads the steps of a script for lintaro-script.
#pragma once

#include <string>

#include "tools/ScriptStep.h"

// Parses one step line (not empty, not a comment); false when it is not a step.
bool ParseStep(const std::string& line, ScriptStep& step);
