// A gesture in playable form: the stored settings and the three embedded
// files as raw bytes. Nothing is decoded here.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "gesture/GestureFormat.h"

namespace qx {

class ByteReader;

// Load mask bits: which sections a load keeps.
inline constexpr int GL_BUTTON = 1;
inline constexpr int GL_IMAGE = 2;
inline constexpr int GL_AUDIO = 4;
inline constexpr int GL_ALL = GL_BUTTON | GL_IMAGE | GL_AUDIO;

class Gesture {
public:
    Gesture() = default;
    Gesture(const Gesture&) = default;
    Gesture(Gesture&&) = default;
    Gesture& operator=(const Gesture&) = default;
    Gesture& operator=(Gesture&&) = default;
    virtual ~Gesture() = default;

    // Frees the sections and returns every field to the empty state.
    void Clear();

    // Loads the file directory + separator + lower-cased baseName + ".qxm"
    // ("\" on Windows, "/" elsewhere, where a name that differs only in case
    // is found too). name holds initialName until the stored name replaces it.
    //
    // loadMask picks the sections to keep, and also how far the file is read:
    // with none of the three bits only the settings are read; with GL_BUTTON
    // alone reading stops after the palette button; a section before a wanted
    // one is always read through, kept or not. Without GL_AUDIO, GF_AUDIO is
    // cleared in flags (unless reading stopped before the image).
    //
    // False when the file cannot be opened, is not a gesture, is newer, or
    // ends before the last section read is complete; the gesture is then
    // empty apart from name = initialName. No section length is believed
    // before it has been checked against the bytes left in the file.
    bool Load(const std::string& directory, const std::string& baseName, const std::string& initialName,
              int loadMask);

    // As Load, from a whole file's bytes.
    bool LoadFromBytes(std::span<const std::uint8_t> bytes, const std::string& initialName, int loadMask);

    // The palette's fast path: succeeds and fails exactly as a Load with
    // GL_ALL, and leaves the same name, flags (GF_AUDIO included) and
    // numbers, but keeps only the sections in keepMask. A section not kept is
    // stepped over after its length has been checked against the file's size,
    // so its bytes are never read; the palette passes GL_BUTTON.
    bool LoadKeeping(const std::string& directory, const std::string& baseName,
                     const std::string& initialName, int keepMask);
    bool LoadKeepingFromBytes(std::span<const std::uint8_t> bytes, const std::string& initialName,
                              int keepMask);

    bool IsImageLoop() const { return (flags & GF_IMAGE_LOOP) != 0; }
    bool IsImageReverse() const { return (flags & GF_IMAGE_REVERSE) != 0; }
    bool IsTransparent() const { return (flags & GF_TRANSPARENT) != 0; }
    bool HasAudio() const { return (flags & GF_AUDIO) != 0; }
    bool IsAudioOnce() const { return (flags & GF_AUDIO_ONCE) != 0; }

    std::string name;
    std::uint8_t flags = 0;
    std::int32_t frameWidth = 0;            // 0 to 65535 as stored
    std::uint32_t transparentColour = 0;    // red | green << 8 | blue << 16
    std::int32_t imageLength = 0;
    std::vector<std::uint8_t> imageData;    // GIF file bytes of the animation strip
    std::int32_t audioLength = 0;
    std::vector<std::uint8_t> audioData;    // WAV file bytes
    std::int32_t buttonLength = 0;
    std::vector<std::uint8_t> buttonData;   // GIF file bytes of the palette button
    std::uint8_t backToFrame = 0;
    std::uint8_t audioStartFrame = 0;

private:
    enum class Reach { AsMasked, WholeFile };
    bool LoadFile(const std::string& directory, const std::string& baseName, const std::string& initialName,
                  int loadMask, Reach reach);
    bool LoadBytes(std::span<const std::uint8_t> bytes, const std::string& initialName, int loadMask,
                   Reach reach);
    bool Parse(ByteReader& reader, int loadMask, Reach reach);
};

// The path Load opens first: directory, the platform's separator, baseName
// lower-cased, ".qxm".
std::string GesturePath(const std::string& directory, const std::string& baseName);

// The path of an existing gesture file for directory and baseName: the
// lower-cased path when it exists, else, where file names are case-sensitive,
// the directory entry whose name matches it ignoring case (the first in the
// order of the names). Returns the lower-cased path when nothing matches.
std::string FindGesturePath(const std::string& directory, const std::string& baseName);

}  // namespace qx
