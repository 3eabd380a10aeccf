#include "authoring/GestureForm.h"

#include <climits>
#include <cstdint>

#include "base/FileIo.h"
#include "gesture/GestureReader.h"

namespace qx {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::string Quoted(const std::string& path) {
    return "'" + path + "'";
}

const char kAudioTooLarge[] = "The audio file size can not be greater than 30000 bytes";

// Reads one section file whole, or gives the message for it.
std::optional<std::string> ReadSectionFile(const std::string& path, std::uint64_t maxSize,
                                           const std::string& tooLargeMessage, std::vector<std::uint8_t>& bytes) {
    switch (ReadWholeFile(path, bytes, maxSize)) {
    case FileReadStatus::Ok: return std::nullopt;
    case FileReadStatus::TooLarge: return tooLargeMessage;
    case FileReadStatus::CannotOpen:
    case FileReadStatus::ReadFailed: break;
    }
    return "Can not read file: " + Quoted(path);
}

}  // namespace

int FormNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // Accumulated as a magnitude that stops growing once past the int range.
    std::int64_t magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (magnitude <= std::int64_t{INT_MAX} + 1) magnitude = magnitude * 10 + (text[i] - '0');
    }
    if (negative) return magnitude > std::int64_t{INT_MAX} ? INT_MIN : static_cast<int>(-magnitude);
    return magnitude > INT_MAX ? INT_MAX : static_cast<int>(magnitude);
}

std::uint8_t FormByte(std::string_view text) {
    return static_cast<std::uint8_t>(static_cast<unsigned>(FormNumber(text)) & 0xFFu);
}

std::optional<std::string> ValidateGestureForm(const GestureForm& form) {
    if (form.name.empty()) return "Displayed name must be specified";
    if (form.name.size() >= kMaxNameLength) return "Displayed name must be shorter than 255 characters";
    const int frameWidth = FormNumber(form.frameWidth);
    if (frameWidth < 1 || frameWidth > 255) return "Frame width must be between 1 to 255";

    if (!OpenForReading(form.animationFile)) return "Can not open image file: " + Quoted(form.animationFile);
    if (!OpenForReading(form.buttonImageFile)) {
        return "Can not open palette button image file: " + Quoted(form.buttonImageFile);
    }
    if (!form.audioFile.empty()) {
        const FilePtr audio = OpenForReading(form.audioFile);
        const auto size = audio ? FileSize(audio.get()) : std::nullopt;
        if (!size) return "Can not open audio file: " + Quoted(form.audioFile);
        if (*size > kMaxAudioBytes) return std::string(kAudioTooLarge);
    }
    return std::nullopt;
}

GestureSettings FormSettings(const GestureForm& form) {
    const bool sound = !form.audioFile.empty();
    GestureSettings settings;
    settings.name = form.name;
    if (form.imageLoop) settings.flags |= GF_IMAGE_LOOP;
    if (form.imageReverse) settings.flags |= GF_IMAGE_REVERSE;
    if (form.transparent) settings.flags |= GF_TRANSPARENT;
    if (sound) settings.flags |= GF_AUDIO;
    if (sound && form.audioOnce) settings.flags |= GF_AUDIO_ONCE;
    settings.frameWidth = static_cast<std::uint16_t>(FormNumber(form.frameWidth));
    if (form.transparent) {
        settings.red = FormByte(form.red);
        settings.green = FormByte(form.green);
        settings.blue = FormByte(form.blue);
    }
    if (form.imageLoop) settings.backToFrame = FormByte(form.backToFrame);
    if (sound) settings.audioStartFrame = FormByte(form.audioStartFrame);
    return settings;
}

std::optional<std::string> BuildGestureFile(const GestureForm& form, std::vector<std::uint8_t>& bytes) {
    bytes.clear();
    const std::string tooLarge = "File is too large for a gesture: ";
    std::vector<std::uint8_t> button;
    std::vector<std::uint8_t> image;
    std::vector<std::uint8_t> audio;
    if (auto message = ReadSectionFile(form.buttonImageFile, kMaxSectionLength,
                                       tooLarge + Quoted(form.buttonImageFile), button)) {
        return message;
    }
    if (auto message = ReadSectionFile(form.animationFile, kMaxSectionLength,
                                       tooLarge + Quoted(form.animationFile), image)) {
        return message;
    }
    if (!form.audioFile.empty()) {
        if (auto message = ReadSectionFile(form.audioFile, kMaxAudioBytes, kAudioTooLarge, audio)) return message;
    }
    bytes = WriteGestureFile(FormSettings(form), button, image, audio);
    return std::nullopt;
}

}  // namespace qx
