// The builder form as text and check states, and what saving makes of it:
// the number conversion, the checks in the order the author meets them, and
// the bytes of the gesture file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "gesture/GestureFormat.h"

namespace qx {

struct GestureForm {
    std::string name;             // edit 1004
    std::string frameWidth;       // edit 1012
    std::string red;              // edit 1006
    std::string green;            // edit 1007
    std::string blue;             // edit 1008
    std::string backToFrame;      // edit 1014
    std::string audioStartFrame;  // edit 1015
    std::string animationFile;    // the path members, not the edits
    std::string buttonImageFile;
    std::string audioFile;        // empty: no sound
    bool transparent = false;     // check box 1005
    bool imageLoop = false;       // check box 1010
    bool imageReverse = false;    // check box 1011
    bool audioOnce = false;       // check box 1016
};

// A number edit's value: leading white space, an optional sign, then decimal
// digits up to the first other character; no digits gives 0. A value beyond
// the int range gives INT_MAX or INT_MIN.
int FormNumber(std::string_view text);

// A byte field's stored value: the number's low 8 bits (300 gives 44, -1
// gives 255), without any range check.
std::uint8_t FormByte(std::string_view text);

// The first problem that keeps the form from being saved, as the message the
// author is shown, or nothing. The section files are opened (and the audio
// file's size taken) to test them, and closed again.
std::optional<std::string> ValidateGestureForm(const GestureForm& form);

// The stored settings for a form: the colour only when transparent, the
// back-to-frame only when looping, the audio start frame, GF_AUDIO and
// GF_AUDIO_ONCE only when an audio file is named.
GestureSettings FormSettings(const GestureForm& form);

// The bytes of the gesture file for a validated form, reading its three
// section files whole. On failure, the message naming the file that could
// not be read, and bytes is left empty.
std::optional<std::string> BuildGestureFile(const GestureForm& form, std::vector<std::uint8_t>& bytes);

}  // namespace qx
