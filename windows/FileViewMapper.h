// The mapper that the Windows programs hand the table: the shim's file view, which maps a file
// through the system as the table cannot by itself.
#pragma once

#include "table/FileMapper.h"

extern const FileMapper kFileViewMapper;
