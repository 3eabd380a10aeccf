// qxmtool pack OUT --name ... --image ... --button ... --frame-width N ...:
// a gesture file made from section files exactly as the builder saves it,
// with the builder's checks and messages.
#pragma once

#include "tools/Command.h"

namespace qx::tool {

extern const Command kPackCommand;

}  // namespace qx::tool
