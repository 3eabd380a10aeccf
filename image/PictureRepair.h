// What the player will do with a picture, and the lossless rewrite that makes
// it show a GIF it refuses.
//
// The player's decoder refuses GIFs that ordinary drawing tools write every
// day: a colour resolution field below 3, a global colour table sized for
// fewer than 16 colours (or none at all). Those refusals depend only on the
// header and the tables, so a copy with the header and tables rewritten (the
// compressed picture data and every other block byte for byte) shows exactly
// what any viewer shows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "image/GifDecoder.h"
#include "image/Picture.h"

namespace qx {

enum class PictureVerdict {
    Shows,       // the player shows the picture as it is
    Repairable,  // the player refuses it, and the rewrite in `repaired` cures that
    Refused,     // the player refuses it, and no rewrite of its header and tables cures that
};

struct PictureDiagnosis {
    PictureVerdict verdict = PictureVerdict::Refused;
    // Why the player does not show it as it is: the rest of a sentence that
    // starts with the picture's name ("is a GIF saved with a colour
    // resolution of 1 bit per primary colour, ..."). Empty when it shows.
    std::string reason;
    // For a repairable picture, what the rewrite changes, as the rest of a
    // sentence starting "The repair ..." ("raises the colour resolution to 8
    // bits per primary colour and pads the colour table from 4 to 16 entries
    // with black").
    std::string repair;
    // The repaired GIF, for a repairable picture; empty otherwise.
    std::vector<std::uint8_t> repaired;
    // Image descriptors in a GIF file, counted up to where it is cut short (0
    // for bytes that are no GIF). More than 1: an animation, of which the
    // player shows only the first image.
    int images = 0;
};

// Never reads beyond the bytes given; any input gives a diagnosis. A GIF is
// repairable when, with its colour resolution raised to 8 bits, a global
// table of fewer than 16 entries padded with black to 16, the size field of
// an absent global table set for 16, and a missing trailer added (as many of
// those as apply), it shows; the reason then tells what the player refuses in
// the file as it is. When even that copy does not show, the reason is the one
// the copy gives, since that is what no rewrite of the header cures.
// maxBlockBytes is the decoders' bound, as in DecodePicture.
PictureDiagnosis DiagnosePicture(std::span<const std::uint8_t> bytes,
                                 std::size_t maxBlockBytes = GifDecoder::kDefaultMaxBlockBytes);

// Why DecodePicture gave no picture for these bytes, in the same words as
// PictureDiagnosis::reason.
std::string WhyPictureRefused(std::span<const std::uint8_t> bytes, const PictureResult& result);

}  // namespace qx
