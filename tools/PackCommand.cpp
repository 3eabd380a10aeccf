#include "tools/PackCommand.h"

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "authoring/GestureForm.h"
#include "gesture/GestureFormat.h"
#include "tools/CommandIo.h"
#include "tools/PictureCommands.h"

namespace qx::tool {

namespace {

constexpr char kUsage[] =
    "usage: qxmtool pack OUT --name NAME --image STRIP.gif --button BUTTON.gif --frame-width N\n"
    "                    [--audio SOUND.wav] [--transparent R,G,B] [--loop N] [--reverse]\n"
    "                    [--audio-frame N] [--audio-once] [--repair]\n";

int Usage(const std::string& problem) {
    PrintError("pack: " + problem);
    std::fputs(kUsage, stderr);
    return kExitUsage;
}

std::optional<int> ParseByte(std::string_view text) {
    const auto value = ParseNumber(text);
    if (!value || *value < 0 || *value > 255) return std::nullopt;
    return value;
}

// "R,G,B", each 0 to 255.
bool ParseColour(std::string_view text, GestureForm& form) {
    std::string* parts[] = {&form.red, &form.green, &form.blue};
    for (int i = 0; i < 3; ++i) {
        const std::size_t comma = i < 2 ? text.find(',') : text.size();
        if (comma == std::string_view::npos) return false;
        const std::string_view part = text.substr(0, comma);
        if (!ParseByte(part)) return false;
        *parts[i] = std::string(part);
        text.remove_prefix(i < 2 ? comma + 1 : comma);
    }
    return true;
}

int RunPack(std::span<char* const> args) {
    if (args.empty() || std::string_view(args[0]).starts_with("--")) return Usage("the output file comes first");
    const std::string out = args[0];
    GestureForm form;
    bool haveName = false, haveImage = false, haveButton = false, haveWidth = false;
    bool audioSettings = false;
    bool repair = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        std::string_view option = args[i];
        std::optional<std::string_view> inlineValue;
        if (const auto eq = option.find('='); option.starts_with("--") && eq != std::string_view::npos) {
            inlineValue = option.substr(eq + 1);
            option = option.substr(0, eq);
        }
        const bool isFlag = option == "--reverse" || option == "--audio-once" || option == "--repair";
        if (isFlag) {
            if (inlineValue) return Usage(std::string(option) + " takes no value");
            if (option == "--repair") repair = true;
            if (option == "--reverse") form.imageReverse = true;
            if (option == "--audio-once") form.audioOnce = audioSettings = true;
            continue;
        }
        if (!option.starts_with("--")) return Usage("unexpected argument \"" + std::string(option) + "\"");
        std::string_view value;
        if (inlineValue) {
            value = *inlineValue;
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            return Usage(std::string(option) + " needs a value");
        }
        const std::string bad = std::string(option) + ": \"" + std::string(value) + "\" ";
        if (option == "--name") {
            form.name = value;
            haveName = true;
        } else if (option == "--image") {
            form.animationFile = value;
            haveImage = true;
        } else if (option == "--button") {
            form.buttonImageFile = value;
            haveButton = true;
        } else if (option == "--audio") {
            form.audioFile = value;
        } else if (option == "--frame-width") {
            // Range checked by the builder's own rule, with its message.
            if (!ParseNumber(value)) return Usage(bad + "is not a number");
            form.frameWidth = value;
            haveWidth = true;
        } else if (option == "--transparent") {
            if (!ParseColour(value, form)) return Usage(bad + "is not R,G,B with each from 0 to 255");
            form.transparent = true;
        } else if (option == "--loop") {
            if (!ParseByte(value)) return Usage(bad + "is not a frame number from 0 to 255");
            form.backToFrame = value;
            form.imageLoop = true;
        } else if (option == "--audio-frame") {
            if (!ParseByte(value)) return Usage(bad + "is not a frame number from 0 to 255");
            form.audioStartFrame = value;
            audioSettings = true;
        } else {
            return Usage("unknown option " + std::string(option));
        }
    }
    if (!haveName) return Usage("--name is required");
    if (!haveImage) return Usage("--image is required");
    if (!haveButton) return Usage("--button is required");
    if (!haveWidth) return Usage("--frame-width is required");
    if (audioSettings && form.audioFile.empty()) return Usage("--audio-frame and --audio-once need --audio");

    if (auto message = ValidateGestureForm(form)) {
        PrintError(*message);
        return kExitFailed;
    }
    std::vector<std::uint8_t> bytes;
    if (auto message = BuildGestureFile(form, bytes)) {
        PrintError(*message);
        return kExitFailed;
    }
    if (repair) {
        GestureFileContents contents;
        ReadGestureFile(bytes, contents);
        RepairSectionPicture(form.animationFile, contents.image);
        RepairSectionPicture(form.buttonImageFile, contents.button);
        bytes = WriteGestureFile(contents.settings, contents.button, contents.image, contents.audio);
    }
    if (auto failure = WriteFileWhole(out, bytes)) {
        PrintError(out + ": " + *failure);
        return kExitFailed;
    }
    std::printf("%s (%zu bytes)\n", out.c_str(), bytes.size());
    return kExitOk;
}

}  // namespace

const Command kPackCommand = {
    "pack",
    "OUT --name NAME --image STRIP.gif --button BUTTON.gif --frame-width N [--audio SOUND.wav]\n"
    "        [--transparent R,G,B] [--loop N] [--reverse] [--audio-frame N] [--audio-once] [--repair]",
    "make a gesture file from section files as the builder saves it, with its checks and messages; "
    "--loop N loops back to frame N; --repair repairs the pictures the player would refuse",
    RunPack,
};

}  // namespace qx::tool
