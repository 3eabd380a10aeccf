#include "tools/CheckCommand.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "authoring/GestureChecker.h"
#include "base/TextCase.h"
#include "tools/CommandIo.h"

namespace qx::tool {

namespace {

// The gesture files of a directory as the palette lists them: every file
// named *.qxm, the extension in any case, in name order.
std::vector<std::string> GestureFilesIn(const std::filesystem::path& directory, std::error_code& ec) {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(directory, ec)) {
        std::error_code typeError;
        if (!entry.is_regular_file(typeError)) continue;
        if (LowerCase(entry.path().extension().string()) == kGestureExtension) files.push_back(entry.path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::string Summary(const std::vector<Finding>& findings) {
    const auto count = [&](Severity s) {
        return std::count_if(findings.begin(), findings.end(), [s](const Finding& f) { return f.severity == s; });
    };
    const auto errors = count(Severity::Error);
    const auto warnings = count(Severity::Warning);
    if (errors == 0 && warnings == 0) return "no problems";
    std::string text;
    if (errors) text = std::to_string(errors) + (errors == 1 ? " error" : " errors");
    if (warnings)
        text += (text.empty() ? "" : ", ") + std::to_string(warnings) + (warnings == 1 ? " warning" : " warnings");
    return text;
}

int ExitStatusFor(Severity worst) {
    switch (worst) {
    case Severity::Info: return 0;
    case Severity::Warning: return 1;
    case Severity::Error: return 2;
    }
    return 2;
}

int RunCheck(std::span<char* const> args) {
    if (args.empty()) {
        std::fprintf(stderr, "usage: qxmtool check FILE...|DIR...\n");
        return kExitUsage;
    }
    std::vector<std::string> files;
    Severity worst = Severity::Info;
    for (const char* arg : args) {
        std::error_code ec;
        if (std::filesystem::is_directory(arg, ec)) {
            const std::vector<std::string> found = GestureFilesIn(arg, ec);
            if (ec) {
                PrintError(std::string(arg) + ": the directory cannot be listed");
                worst = Severity::Error;
            } else if (found.empty()) {
                PrintError(std::string(arg) + ": no .qxm files in this directory");
            }
            files.insert(files.end(), found.begin(), found.end());
        } else {
            files.emplace_back(arg);
        }
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::string& path = files[i];
        std::string whyNot;
        const auto bytes = ReadInputFile(path, whyNot);
        const std::vector<Finding> findings =
            bytes ? CheckGestureBytes(*bytes) : std::vector<Finding>{{Severity::Error, "The file " + whyNot + "."}};
        worst = std::max(worst, WorstSeverity(findings));
        if (i > 0) std::printf("\n");
        std::printf("%s: %s\n%s", path.c_str(), Summary(findings).c_str(), FormatFindings(findings, "  ").c_str());
    }
    return ExitStatusFor(worst);
}

}  // namespace

const Command kCheckCommand = {
    "check",
    "FILE...|DIR...",
    "check gesture files (every .qxm of a DIR) as they will show and play; "
    "exit status 0 clean, 1 warnings, 2 errors",
    RunCheck,
};

}  // namespace qx::tool
