// Reads the steps of a script for lintaro-script.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tools/ScriptStep.h"

// Parses one step line (not empty, not a comment); false when it is not a step.
bool ParseStep(const std::string& line, ScriptStep& step);

// The first word of every step and answer, in the order a reader meets them.
std::vector<std::string_view> StepVerbs();
