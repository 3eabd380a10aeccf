// qxmtool info [--json] FILE...: everything a gesture file holds, as text
// or as a JSON array with one object per file.
#pragma once

#include "tools/Command.h"

namespace qx::tool {

extern const Command kInfoCommand;

}  // namespace qx::tool
