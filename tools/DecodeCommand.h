// qxmtool decode IN OUT.bmp: decodes a GIF or "BM" picture as a gesture
// image does and writes the packed bitmap it would hold as a .bmp file.
#pragma once

#include "tools/Command.h"

namespace qx::tool {

extern const Command kDecodeCommand;

}  // namespace qx::tool
