// The gesture checker: looks at a gesture as the program will show and play
// it, and tells the author in plain sentences what will go wrong and what
// probably is not what was meant: pictures the player refuses, frames that
// do not fit the strip, frames never reached, a transparent colour no pixel
// uses, a sound that is not a WAVE file or is cut off by its own restarts.
// It also states the facts (frames, sound format, the frames a Test shows).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "authoring/GestureForm.h"
#include "gesture/GestureFormat.h"
#include "gesture/GestureReader.h"
#include "image/GifDecoder.h"

namespace qx {

enum class Severity {
    Info,     // a fact worth knowing
    Warning,  // probably not what was meant
    Error,    // will not show or play as meant
};

std::string_view ToString(Severity severity);  // "info", "warning", "error"

struct Finding {
    Severity severity = Severity::Info;
    std::string text;
    friend bool operator==(const Finding&, const Finding&) = default;
};

// A gesture to check: its settings and whatever of its sections could be
// read. A section that could not be read is left out of the checks; the
// finding saying why is in problems.
struct CheckInput {
    GestureSettings settings;
    std::optional<std::vector<std::uint8_t>> button;
    std::optional<std::vector<std::uint8_t>> image;
    std::optional<std::vector<std::uint8_t>> audio;  // only with GF_AUDIO
    // Met while gathering the input (the builder's refusal to save, a
    // section file that cannot be read); reported first.
    std::vector<Finding> problems;
    // False when the frame width is not one the builder would save; the
    // form's own message says so, and the frame checks are skipped.
    bool frameWidthUsable = true;
    // Made from the builder's form: what its validation message already says
    // (an empty name, a sound over 30000 bytes) is not said again.
    bool fromForm = false;
};

CheckInput CheckInputFromContents(const GestureFileContents& contents);

// The builder's form as saving would read it: the settings saving would
// store, the form's validation message (if any) as an error, and the three
// section files it names, each read on its own.
CheckInput CheckInputFromForm(const GestureForm& form);

// maxPictureBytes bounds the block a picture decodes to, as in DecodePicture.
std::vector<Finding> CheckGesture(const CheckInput& input,
                                  std::size_t maxPictureBytes = GifDecoder::kDefaultMaxBlockBytes);

// A whole gesture file's bytes: a file that cannot be read as a gesture
// gives one error saying why; otherwise the findings of CheckGesture.
std::vector<Finding> CheckGestureBytes(std::span<const std::uint8_t> fileBytes,
                                       std::size_t maxPictureBytes = GifDecoder::kDefaultMaxBlockBytes);

// One finding a line: "error: ...", "warning: ...", "info: ...".
std::string FormatFindings(const std::vector<Finding>& findings, std::string_view indent = "");

// The most severe finding's severity; Info when there is none.
Severity WorstSeverity(const std::vector<Finding>& findings);

}  // namespace qx
