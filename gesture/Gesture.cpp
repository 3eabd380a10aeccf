#include "gesture/Gesture.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "base/ByteReader.h"
#include "base/FileIo.h"
#include "gesture/GestureReader.h"
#include "base/TextCase.h"

namespace qx {

namespace {

#ifdef _WIN32
constexpr char kPathSeparator = '\\';
#else
constexpr char kPathSeparator = '/';
#endif

}  // namespace

std::string GesturePath(const std::string& directory, const std::string& baseName) {
    return directory + kPathSeparator + LowerCase(baseName) + std::string(kGestureExtension);
}

std::string FindGesturePath(const std::string& directory, const std::string& baseName) {
    const std::string lowered = GesturePath(directory, baseName);
#ifdef _WIN32
    return lowered;
#else
    namespace fs = std::filesystem;
    std::error_code error;
    if (fs::exists(lowered, error)) return lowered;

    const std::string wanted = LowerCase(baseName) + std::string(kGestureExtension);
    std::vector<std::string> matches;
    for (fs::directory_iterator it(directory, error), end; !error && it != end; it.increment(error)) {
        std::string entry = it->path().filename().string();
        if (LowerCase(entry) == wanted) matches.push_back(std::move(entry));
    }
    if (matches.empty()) return lowered;
    return directory + kPathSeparator + *std::min_element(matches.begin(), matches.end());
#endif
}

void Gesture::Clear() {
    *this = Gesture();
}

bool Gesture::Load(const std::string& directory, const std::string& baseName, const std::string& initialName,
                   int loadMask) {
    return LoadFile(directory, baseName, initialName, loadMask, Reach::AsMasked);
}

bool Gesture::LoadFromBytes(std::span<const std::uint8_t> bytes, const std::string& initialName,
                            int loadMask) {
    return LoadBytes(bytes, initialName, loadMask, Reach::AsMasked);
}

bool Gesture::LoadKeeping(const std::string& directory, const std::string& baseName,
                          const std::string& initialName, int keepMask) {
    return LoadFile(directory, baseName, initialName, keepMask, Reach::WholeFile);
}

bool Gesture::LoadKeepingFromBytes(std::span<const std::uint8_t> bytes, const std::string& initialName,
                                   int keepMask) {
    return LoadBytes(bytes, initialName, keepMask, Reach::WholeFile);
}

bool Gesture::LoadFile(const std::string& directory, const std::string& baseName,
                       const std::string& initialName, int loadMask, Reach reach) {
    Clear();
    name = initialName;
    const ReadOnlyFile file(FindGesturePath(directory, baseName));
    const auto size = file.Size();
    if (!file.IsOpen() || !size) return false;
    FileReader reader(file, *size);
    if (Parse(reader, loadMask, reach)) return true;
    Clear();
    name = initialName;
    return false;
}

bool Gesture::LoadBytes(std::span<const std::uint8_t> bytes, const std::string& initialName, int loadMask,
                        Reach reach) {
    Clear();
    name = initialName;
    SpanReader reader(bytes);
    if (Parse(reader, loadMask, reach)) return true;
    Clear();
    name = initialName;
    return false;
}

bool Gesture::Parse(ByteReader& reader, int loadMask, Reach reach) {
    GestureSettings settings;
    if (ReadGestureSettings(reader, settings) != GestureReadStatus::Ok) return false;
    name = std::move(settings.name);
    flags = settings.flags;
    frameWidth = settings.frameWidth;
    transparentColour = std::uint32_t{settings.red} | std::uint32_t{settings.green} << 8 |
                        std::uint32_t{settings.blue} << 16;
    backToFrame = settings.backToFrame;
    audioStartFrame = settings.audioStartFrame;

    // How far the file is read; loadMask alone says what is kept.
    const int readMask = reach == Reach::WholeFile ? GL_ALL : loadMask;
    if ((readMask & GL_ALL) == 0) return true;

    if (!ReadSection(reader, (loadMask & GL_BUTTON) ? &buttonData : nullptr)) return false;
    buttonLength = static_cast<std::int32_t>(buttonData.size());
    if ((readMask & (GL_IMAGE | GL_AUDIO)) == 0) return true;

    if (!ReadSection(reader, (loadMask & GL_IMAGE) ? &imageData : nullptr)) return false;
    imageLength = static_cast<std::int32_t>(imageData.size());

    if ((readMask & GL_AUDIO) == 0) flags &= static_cast<std::uint8_t>(~GF_AUDIO);
    if (HasAudio()) {
        if (!ReadSection(reader, (loadMask & GL_AUDIO) ? &audioData : nullptr)) return false;
        audioLength = static_cast<std::int32_t>(audioData.size());
    }
    return true;
}

}  // namespace qx
