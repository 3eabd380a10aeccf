// qxmtool: command-line companion of the gesture builder over the portable core.
#include <cstdio>
#include <new>
#include <span>
#include <string>
#include <string_view>

#include "tools/Command.h"
#include "tools/CheckCommand.h"
#include "tools/DecodeCommand.h"
#include "tools/ExtractCommand.h"
#include "tools/InfoCommand.h"
#include "tools/PackCommand.h"
#include "tools/PictureCommands.h"

namespace {

using qx::tool::Command;

// One row per command, in the order --help lists them.
const Command* const kCommands[] = {
    &qx::tool::kInfoCommand,
    &qx::tool::kCheckCommand,
    &qx::tool::kExtractCommand,
    &qx::tool::kPackCommand,
    &qx::tool::kDecodeCommand,
    &qx::tool::kRepairCommand,
    &qx::tool::kStripCommand,
};

// Memory running out ends the command, not the program: what it had written
// is complete (outputs replace their files only when whole), and the
// message names the files it was given.
int RunCommand(const Command& c, std::span<char* const> args) {
    try {
        return c.run(args);
    } catch (const std::bad_alloc&) {
        std::string named;
        for (const char* arg : args) named += std::string(" ") + arg;
        std::fprintf(stderr, "qxmtool: %.*s%s: not enough memory to finish\n", static_cast<int>(c.name.size()),
                     c.name.data(), named.c_str());
        // repair and strip keep 1 for "nothing to do".
        return c.name == "repair" || c.name == "strip" ? 2 : 1;
    }
}

void PrintHelp(std::FILE* to) {
    std::fprintf(to, "usage: qxmtool COMMAND ARGS...\n\ncommands:\n");
    for (const Command* c : kCommands) {
        std::fprintf(to, "  %.*s %.*s\n      %.*s\n", static_cast<int>(c->name.size()), c->name.data(),
                     static_cast<int>(c->usage.size()), c->usage.data(), static_cast<int>(c->summary.size()),
                     c->summary.data());
    }
#ifdef _WIN32
    std::fprintf(to, "\nFile names are lower-cased and ordered in the system's code page.\n");
#else
    std::fprintf(to, "\nFile names are lower-cased and ordered by the rules of Windows-1252 (ASCII letters and\n"
                     "the accented capitals of the upper half; bytes in order), which the builder follows\n"
                     "only where that is the system's code page.\n");
#endif
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        PrintHelp(stderr);
        return 2;
    }
    const std::string_view name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        PrintHelp(stdout);
        return 0;
    }
    for (const Command* c : kCommands) {
        if (c->name == name) return RunCommand(*c, std::span<char* const>(argv + 2, static_cast<std::size_t>(argc - 2)));
    }
    std::fprintf(stderr, "qxmtool: unknown command \"%s\"\n\n", argv[1]);
    PrintHelp(stderr);
    return 2;
}
