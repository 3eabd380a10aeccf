// qxmtool extract FILE DIR: the three sections of a gesture file, byte for
// byte, as NAME.gif (animation strip), NAME-button.gif (palette button) and
// NAME.wav (sound, when there is one), NAME being the file's base name.
#pragma once

#include "tools/Command.h"

namespace qx::tool {

extern const Command kExtractCommand;

}  // namespace qx::tool
