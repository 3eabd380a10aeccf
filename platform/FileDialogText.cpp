#include "platform/FileDialogText.h"

namespace qx {

std::string DialogFilter(std::string_view pipes) {
    std::string filter(pipes);
    for (char& c : filter) {
        if (c == '|') c = '\0';
    }
    // The returned string's own terminator supplies the final NUL of the pair.
    if (filter.empty() || filter.back() != '\0') filter.push_back('\0');
    return filter;
}

}  // namespace qx
