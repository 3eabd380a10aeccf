// qxmtool check FILE...|DIR...: the gesture checker's findings for each
// gesture file (every .qxm file of a directory); the exit status is 0 when
// nothing worse than information was found, 1 for warnings, 2 for errors.
#pragma once

#include "tools/Command.h"

namespace qx::tool {

extern const Command kCheckCommand;

}  // namespace qx::tool
