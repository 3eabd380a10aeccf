#include "authoring/CommandLine.h"

namespace qx {

std::vector<std::string> SplitCommandLine(std::string_view line) {
    std::vector<std::string> arguments;
    std::size_t i = 0;
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };

    // The program name ends at the first blank outside quotes; backslashes
    // in it are taken literally.
    while (i < line.size() && blank(line[i])) ++i;
    if (i < line.size()) {
        std::string name;
        bool quoted = false;
        for (; i < line.size() && (quoted || !blank(line[i])); ++i) {
            if (line[i] == '"') {
                quoted = !quoted;
            } else {
                name += line[i];
            }
        }
        arguments.push_back(name);
    }

    while (true) {
        while (i < line.size() && blank(line[i])) ++i;
        if (i >= line.size()) break;
        std::string argument;
        bool quoted = false;
        while (i < line.size() && (quoted || !blank(line[i]))) {
            std::size_t backslashes = 0;
            while (i < line.size() && line[i] == '\\') {
                ++backslashes;
                ++i;
            }
            if (i < line.size() && line[i] == '"') {
                argument.append(backslashes / 2, '\\');
                if (backslashes % 2 == 1) {
                    argument += '"';
                } else if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
                    argument += '"';  // "" inside quotes is a literal quote
                    ++i;
                } else {
                    quoted = !quoted;
                }
                ++i;
            } else {
                argument.append(backslashes, '\\');
                if (i < line.size() && (quoted || !blank(line[i]))) {
                    argument += line[i];
                    ++i;
                }
            }
        }
        arguments.push_back(argument);
    }
    return arguments;
}

std::string FileArgument(const std::vector<std::string>& arguments) {
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (!argument.empty() && (argument[0] == '-' || argument[0] == '/')) continue;
        return argument;
    }
    return {};
}

}  // namespace qx
