// The program's resources: menu, accelerators, dialog templates, strings and icon; and the names
// it keeps its settings and desktop files under.
#pragma once

#include "platform/ProgramIdentity.h"
#include "platform/Resources.h"

const ResourceSet& ProgramResources();
const ProgramIdentity& ProgramNames();
