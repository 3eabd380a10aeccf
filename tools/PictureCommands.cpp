#include "tools/PictureCommands.h"

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "image/GifStrip.h"
#include "image/PictureRepair.h"
#include "tools/CommandIo.h"

namespace qx::tool {

namespace {

constexpr int kExitNothingToDo = 1;
constexpr int kExitRefused = 2;

bool SameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    return std::filesystem::equivalent(a, b, ec) && !ec;
}

// Reads IN and checks OUT is not IN; on failure prints why and returns nothing.
std::optional<std::vector<std::uint8_t>> ReadPictureFor(const std::string& in, const std::string& out) {
    std::string whyNot;
    auto bytes = ReadInputFile(in, whyNot);
    if (!bytes) {
        PrintError(in + ": " + whyNot);
        return std::nullopt;
    }
    if (SameFile(in, out)) {
        PrintError(out + ": is the input itself; the input is never written");
        return std::nullopt;
    }
    return bytes;
}

bool Write(const std::string& out, const std::vector<std::uint8_t>& bytes) {
    if (auto failure = WriteFileWhole(out, bytes)) {
        PrintError(out + ": " + *failure);
        return false;
    }
    return true;
}

void NoteAnimation(const std::string& in, int images) {
    if (images > 1) {
        std::printf("%s: an animation of %d images; the player shows only the first (qxmtool strip makes a strip "
                    "of them)\n",
                    in.c_str(), images);
    }
}

int RunRepair(std::span<char* const> args) {
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: qxmtool repair IN.gif OUT.gif\n");
        return kExitUsage;
    }
    const std::string in = args[0];
    const std::string out = args[1];
    const auto bytes = ReadPictureFor(in, out);
    if (!bytes) return kExitRefused;
    PictureDiagnosis diagnosis = DiagnosePicture(*bytes);
    switch (diagnosis.verdict) {
    case PictureVerdict::Shows:
        std::printf("%s: the player shows it as it is; nothing written\n", in.c_str());
        NoteAnimation(in, diagnosis.images);
        return kExitNothingToDo;
    case PictureVerdict::Refused:
        PrintError(in + ": " + diagnosis.reason + "; no repair makes the player show it");
        return kExitRefused;
    case PictureVerdict::Repairable: break;
    }
    if (!Write(out, diagnosis.repaired)) return kExitRefused;
    std::printf("%s: repaired: the repair %s (%zu bytes)\n", out.c_str(), diagnosis.repair.c_str(),
                diagnosis.repaired.size());
    NoteAnimation(in, diagnosis.images);
    return kExitOk;
}

int RunStrip(std::span<char* const> args) {
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: qxmtool strip IN.gif OUT.gif\n");
        return kExitUsage;
    }
    const std::string in = args[0];
    const std::string out = args[1];
    const auto bytes = ReadPictureFor(in, out);
    if (!bytes) return kExitRefused;
    const StripResult strip = MakeStrip(*bytes);
    if (strip.gif.empty()) {
        PrintError(in + ": " + strip.refusal);
        return kExitRefused;
    }
    if (!Write(out, strip.gif)) return kExitRefused;
    std::printf("%s: %d frames of %d x %d pixels; frame width %d", out.c_str(), strip.frames, strip.frameWidth,
                strip.frameHeight, strip.frameWidth);
    if (strip.transparent) {
        std::printf("; transparent colour %d,%d,%d", strip.transparent->red, strip.transparent->green,
                    strip.transparent->blue);
    }
    std::printf("\n");
    return kExitOk;
}

}  // namespace

void RepairSectionPicture(const std::string& path, std::vector<std::uint8_t>& bytes) {
    PictureDiagnosis diagnosis = DiagnosePicture(bytes);
    if (diagnosis.verdict != PictureVerdict::Repairable) return;
    std::printf("%s: repaired: the repair %s\n", path.c_str(), diagnosis.repair.c_str());
    bytes = std::move(diagnosis.repaired);
}

const Command kRepairCommand = {
    "repair",
    "IN.gif OUT.gif",
    "rewrite a GIF's header and colour table so the player shows it, the picture data byte for byte; "
    "exit status 0 repaired, 1 nothing needed, 2 not repairable",
    RunRepair,
};

const Command kStripCommand = {
    "strip",
    "IN.gif OUT.gif",
    "lay the frames of an animated GIF side by side in one strip the player shows; prints the frame width "
    "and any transparent colour",
    RunStrip,
};

}  // namespace qx::tool
