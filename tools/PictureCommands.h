// qxmtool repair IN.gif OUT.gif: the lossless header rewrite that makes the
// player show a GIF it refuses. qxmtool strip IN.gif OUT.gif: an animated
// GIF's frames as one strip the player shows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/Command.h"

namespace qx::tool {

extern const Command kRepairCommand;
extern const Command kStripCommand;

// pack --repair: repairs one section picture in place when the player
// refuses it and a repair cures it; prints what changed, naming the file.
void RepairSectionPicture(const std::string& path, std::vector<std::uint8_t>& bytes);

}  // namespace qx::tool
