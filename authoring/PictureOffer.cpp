#include "authoring/PictureOffer.h"

#include "image/PictureRepair.h"

namespace qx {

namespace {

std::string FileNamePart(const std::string& path) {
    const auto slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ColourText(const RgbColour& c) {
    // Appended piece by piece: GCC 12 warns (-Wrestrict) on a literal + string chain here.
    std::string text = "(";
    text += std::to_string(c.red);
    text += ", ";
    text += std::to_string(c.green);
    text += ", ";
    text += std::to_string(c.blue);
    text += ")";
    return text;
}

PictureOffer StripOffer(const std::string& path, std::span<const std::uint8_t> bytes, int images,
                        const PathTaken& taken) {
    PictureOffer offer;
    const std::string intro =
        path + "\nis an animation of " + std::to_string(images) + " images, and the player shows only the first.";
    StripResult strip = MakeStrip(bytes);
    if (strip.gif.empty()) {
        offer.kind = OfferKind::Message;
        offer.text = intro + "\n\nNo strip can be made of it: " + strip.refusal;
        return offer;
    }
    offer.kind = OfferKind::Strip;
    offer.copyPath = CopyPathBeside(path, "-strip", taken);
    offer.frameWidth = strip.frameWidth;
    offer.transparent = strip.transparent;
    offer.text = intro + "\n\nSave its " + std::to_string(strip.frames) + " frames side by side as \"" +
                 FileNamePart(offer.copyPath) + "\" and use that? The frame width becomes " +
                 std::to_string(strip.frameWidth);
    if (strip.transparent) offer.text += ", and the transparent colour " + ColourText(*strip.transparent);
    offer.text += ". Your file is not changed.";
    offer.bytes = std::move(strip.gif);
    return offer;
}

}  // namespace

std::string CopyPathBeside(const std::string& path, std::string_view suffix, const PathTaken& taken) {
    const auto slash = path.find_last_of("\\/");
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const auto dot = path.find_last_of('.');
    const std::string stem = dot != std::string::npos && dot > nameStart ? path.substr(0, dot) : path;
    std::string candidate = stem + std::string(suffix) + ".gif";
    for (int n = 2; taken(candidate); ++n) candidate = stem + std::string(suffix) + "-" + std::to_string(n) + ".gif";
    return candidate;
}

PictureOffer OfferForPicture(const std::string& path, std::span<const std::uint8_t> bytes, PictureRole role,
                             const PathTaken& taken) {
    PictureDiagnosis diagnosis = DiagnosePicture(bytes);
    if (role == PictureRole::Animation && diagnosis.images > 1) return StripOffer(path, bytes, diagnosis.images, taken);

    PictureOffer offer;
    switch (diagnosis.verdict) {
    case PictureVerdict::Shows: break;
    case PictureVerdict::Repairable:
        offer.kind = OfferKind::Repair;
        offer.copyPath = CopyPathBeside(path, "-fixed", taken);
        offer.text = path + "\nThe player will not show this picture: it " + diagnosis.reason +
                     ".\n\nSave a repaired copy as \"" + FileNamePart(offer.copyPath) +
                     "\" and use that? The repair " + diagnosis.repair +
                     "; the picture stays the same. Your file is not changed.";
        offer.bytes = std::move(diagnosis.repaired);
        break;
    case PictureVerdict::Refused:
        offer.kind = OfferKind::Message;
        offer.text = path + "\nThe player will not show this picture: it " + diagnosis.reason + ".";
        break;
    }
    return offer;
}

}  // namespace qx
