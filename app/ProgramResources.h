// The program's resources: menu, accelerators, dialog templates, strings and icon.
#pragma once

#include "platform/Resources.h"

const ResourceSet& ProgramResources();
