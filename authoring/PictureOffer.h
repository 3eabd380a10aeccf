// What the builder offers when the author picks a picture the player will
// not show as it is: a repaired copy for a GIF whose header the player
// refuses, a strip for an animated GIF picked as the animation, or a message
// saying why nothing can help. The author's own file is never written; what
// is offered is a new file beside it.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "image/GifStrip.h"

namespace qx {

enum class PictureRole { Animation, Button };

enum class OfferKind {
    None,     // the picture shows as it is (or is no GIF the builder can help with)
    Repair,   // a Yes/No question: save a repaired copy and use it
    Strip,    // a Yes/No question: save a strip of the animation's frames and use it
    Message,  // why the picture will not show and nothing can be offered
};

struct PictureOffer {
    OfferKind kind = OfferKind::None;
    std::string text;                   // the question or the message, naming the picture's path
    std::string copyPath;               // where Yes writes the copy
    std::vector<std::uint8_t> bytes;    // what Yes writes
    int frameWidth = 0;                 // a strip's frame width
    std::optional<RgbColour> transparent;  // a strip's colour for transparent pixels
};

// taken(path) tells whether a file of that name exists already.
using PathTaken = std::function<bool(const std::string&)>;

// The path of a new file beside path: NAME + suffix + ".gif", or with "-2",
// "-3" ... after the suffix when that is taken. Both kinds of slash separate
// directories.
std::string CopyPathBeside(const std::string& path, std::string_view suffix, const PathTaken& taken);

PictureOffer OfferForPicture(const std::string& path, std::span<const std::uint8_t> bytes, PictureRole role,
                             const PathTaken& taken);

}  // namespace qx
