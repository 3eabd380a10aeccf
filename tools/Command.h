// The commands of qxmtool. Each command lives in its own file and is listed
// once in the table in qxmtool.cpp.
#pragma once

#include <span>
#include <string_view>

namespace qx::tool {

struct Command {
    std::string_view name;
    std::string_view usage;    // arguments after the name
    std::string_view summary;  // one line for --help
    // Arguments after the command name; returns the process exit status.
    int (*run)(std::span<char* const> args);
};

}  // namespace qx::tool
