#include "tools/ExtractCommand.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "gesture/GestureFormat.h"
#include "base/TextCase.h"
#include "tools/CommandIo.h"

namespace qx::tool {

namespace {

// The file's name without a ".qxm" extension in any case: "Wave.QXM" gives
// "Wave", "notes.txt" stays "notes.txt".
std::string BaseName(const std::string& path) {
    const std::filesystem::path p(path);
    std::string name = p.filename().string();
    if (LowerCase(p.extension().string()) == kGestureExtension) name = p.stem().string();
    return name;
}

int RunExtract(std::span<char* const> args) {
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: qxmtool extract FILE DIR\n");
        return kExitUsage;
    }
    const std::string source = args[0];
    const std::filesystem::path directory = args[1];
    GestureFileContents contents;
    if (!LoadGestureFile(source, contents)) return kExitFailed;

    std::error_code ec;
    std::filesystem::create_directories(directory, ec);
    if (!std::filesystem::is_directory(directory, ec)) {
        PrintError(directory.string() + ": not a directory, and one cannot be made there");
        return kExitFailed;
    }
    const std::string base = BaseName(source);
    struct Output {
        std::string suffix;
        const std::vector<std::uint8_t>* bytes;
    };
    std::vector<Output> outputs = {{".gif", &contents.image}, {"-button.gif", &contents.button}};
    if (contents.settings.flags & GF_AUDIO) outputs.push_back({".wav", &contents.audio});
    for (const Output& out : outputs) {
        const std::string target = (directory / (base + out.suffix)).string();
        if (auto failure = WriteFileWhole(target, *out.bytes)) {
            PrintError(target + ": " + *failure);
            return kExitFailed;
        }
        std::printf("%s (%zu bytes)\n", target.c_str(), out.bytes->size());
    }
    return kExitOk;
}

}  // namespace

const Command kExtractCommand = {
    "extract",
    "FILE DIR",
    "write the sections of a gesture file byte for byte to DIR as NAME.gif (animation strip), "
    "NAME-button.gif (palette button) and NAME.wav (sound, if any), NAME being FILE's base name",
    RunExtract,
};

}  // namespace qx::tool
