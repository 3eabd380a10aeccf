// qxmtool: command-line companion of the gesture builder over the portable core.
#include <cstdio>
#include <span>
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

void PrintHelp(std::FILE* to) {
    std::fprintf(to, "usage: qxmtool COMMAND ARGS...\n\ncommands:\n");
    for (const Command* c : kCommands) {
        std::fprintf(to, "  %.*s %.*s\n      %.*s\n", static_cast<int>(c->name.size()), c->name.data(),
                     static_cast<int>(c->usage.size()), c->usage.data(), static_cast<int>(c->summary.size()),
                     c->summary.data());
    }
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
        if (c->name == name) return c->run(std::span<char* const>(argv + 2, static_cast<std::size_t>(argc - 2)));
    }
    std::fprintf(stderr, "qxmtool: unknown command \"%s\"\n\n", argv[1]);
    PrintHelp(stderr);
    return 2;
}
