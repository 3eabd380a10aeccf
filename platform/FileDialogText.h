// Text conversions for the file dialogs.
#pragma once

#include <string>
#include <string_view>

namespace qx {

// "description|pattern||" becomes the NUL-separated, double-NUL-terminated
// list the platform's file dialogs take.
std::string DialogFilter(std::string_view pipes);

}  // namespace qx
