// Opening a gesture file for editing: its sections are copied to the
// temporary files and the form is filled from its settings.
//
// The file's identification is checked first and the whole file read and
// checked before anything changes, and each section replaces its temporary
// file only when written whole; should one fail, or memory run out, every
// temporary file gets back what it held. A damaged file, or a temporary
// file that cannot be written, leaves the form, its path members and the
// sections they name exactly as they were.
#include <windows.h>
#include <commdlg.h>

#include <array>
#include <cstdio>
#include <new>
#include <optional>
#include <string>

#include "app/BuilderDialog_win.h"
#include "base/ByteReader.h"
#include "base/FileIo.h"
#include "base/ReplaceFile.h"
#include "gesture/GestureReader.h"
#include "base/TextCase.h"
#include "platform/Controls_win.h"
#include "platform/Seams_win.h"

namespace qx {
namespace {

constexpr const char* kInternal = "*** internal ***";

// No gesture is larger: its identification, the longest name, the settings
// and three sections of the largest length a reader takes.
constexpr std::uint64_t kMaxGestureFileBytes = kGestureIdentitySize + 1 + kMaxNameLength + kSettingsBlockSize +
                                               3 * (kSectionLengthSize + std::uint64_t{kMaxSectionLength});

// A section on its way to its temporary file, with what that file held
// before (nothing when there was none).
struct PendingSection {
    const std::vector<std::uint8_t>* bytes;
    std::string target;
    const char* failure;
    std::optional<std::vector<std::uint8_t>> before;
};

// Reads a gesture for editing: the identification first, so that neither a
// file of another kind nor one far too large to be a gesture is read any
// further. Memory running out throws.
GestureReadStatus ReadForEditing(const ReadOnlyFile& file, GestureFileContents& contents) {
    const auto size = file.Size();
    std::array<std::uint8_t, kGestureIdentitySize> head{};
    const auto got = size ? file.ReadAt(0, head.data(), head.size()) : std::nullopt;
    if (!got) return GestureReadStatus::Truncated;
    switch (IdentifyGesture(std::span(head).first(*got))) {
    case GestureIdentity::NotGesture: return GestureReadStatus::NotGesture;
    case GestureIdentity::Newer: return *got == head.size() ? GestureReadStatus::Newer : GestureReadStatus::Truncated;
    case GestureIdentity::Gesture: break;
    }
    if (*size > kMaxGestureFileBytes) return GestureReadStatus::Truncated;

    FileReader reader(file, *size);
    GestureFileContents read;
    const GestureReadStatus status = ReadGestureSettings(reader, read.settings);
    if (status != GestureReadStatus::Ok) return status;
    if (!ReadSection(reader, &read.button) || !ReadSection(reader, &read.image) ||
        ((read.settings.flags & GF_AUDIO) && !ReadSection(reader, &read.audio))) {
        return GestureReadStatus::Truncated;
    }
    contents = std::move(read);
    return GestureReadStatus::Ok;
}

// Puts every section in place of its temporary file, or none: on any
// failure every temporary file this touched, the failing one too (a move
// reported as failed may have happened), gets back what it held. The failing
// section's message, or nothing.
std::optional<std::string> StageSections(std::vector<PendingSection>& sections) {
    // The sections of the gesture being edited are kept in memory until all
    // the new ones are in place; one that could not be kept could not be put
    // back, so its temporary file is refused before anything changes.
    for (auto& s : sections) {
        if (GetFileAttributesA(s.target.c_str()) == INVALID_FILE_ATTRIBUTES) continue;
        s.before.emplace();
        if (ReadWholeFile(s.target, *s.before, UINT32_MAX) != FileReadStatus::Ok) return s.failure + s.target;
    }
    std::size_t i = 0;
    try {
        for (; i < sections.size(); ++i) {
            if (ReplaceFileWhole(sections[i].target, *sections[i].bytes) != ReplaceResult::Replaced) break;
        }
    } catch (const std::bad_alloc&) {
    }
    if (i == sections.size()) return std::nullopt;
    for (std::size_t touched = 0; touched <= i; ++touched) {
        const PendingSection& s = sections[touched];
        if (s.before) {
            ReplaceFileWhole(s.target, *s.before);
        } else {
            RemoveFile(s.target);
        }
    }
    return sections[i].failure + sections[i].target;
}

}  // namespace

void BuilderDialog::OpenGesture() {
    if (!model.commandLineFile.empty()) {
        const std::string path = model.commandLineFile;
        model.commandLineFile.clear();
        const auto slash = path.find_last_of('\\');
        OpenGestureFile(path, slash == std::string::npos ? path : path.substr(slash + 1));
    } else {
        // Unsaved work is never replaced without the question New and
        // closing ask.
        if (!ConfirmDiscard()) return;
        const auto choice = FileDialogs().Ask(
            hwnd(), {false, "Quixmoor Gestures (*.qxm)|*.qxm||", ".qxm",
                     OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY});
        if (!choice) return;
        OpenGestureFile(choice->path, choice->fileName);
    }
}

void BuilderDialog::OpenGestureFile(const std::string& path, const std::string& fileName) {
    const std::string name = LowerCase(fileName);
    GestureFileContents contents;
    std::optional<std::string> failure;
    try {
        GestureReadStatus status = GestureReadStatus::Truncated;
        {
            const ReadOnlyFile file(path);
            if (!file.IsOpen()) {
                ShowMessage(hwnd(), "Can not open file \n" + path);
                return;
            }
            const auto slash = path.find_last_of('\\');
            model.paletteDirectory = slash == std::string::npos ? std::string() : path.substr(0, slash);
            status = ReadForEditing(file, contents);
        }
        switch (status) {
        case GestureReadStatus::Ok: break;
        case GestureReadStatus::NotGesture: failure = path + "\nIs not a valid QX Gesture file."; break;
        case GestureReadStatus::Newer:
            failure = path + "\nwas built using a newer version of QXM-Builder, and can not be opened";
            break;
        case GestureReadStatus::Truncated:
            failure = path + "\nIs damaged: the file ends before its last section, and can not be opened.";
            break;
        }
        if (!failure) {
            std::vector<PendingSection> sections = {
                {&contents.button, model.TempPath(kTempButtonImageName),
                 "Can not open temporary file for palette button image\n", {}},
                {&contents.image, model.TempPath(kTempAnimationName), "Can not open temporary file for image section\n",
                 {}},
            };
            if (contents.settings.flags & GF_AUDIO) {
                sections.push_back({&contents.audio, model.TempPath(kTempAudioName),
                                    "Can not open temporary file for audio section\n", {}});
            }
            failure = StageSections(sections);
        }
    } catch (const std::bad_alloc&) {
        failure = "Can not open file \n" + path;
    }
    if (failure) {
        ShowMessage(hwnd(), *failure);
        return;
    }
    const bool hasAudio = (contents.settings.flags & GF_AUDIO) != 0;

    model.animationFile = model.TempPath(kTempAnimationName);
    model.buttonImageFile = model.TempPath(kTempButtonImageName);
    model.audioFile = hasAudio ? model.TempPath(kTempAudioName) : std::string();

    model.loading = 1;
    SetText(controls.animationFile, kInternal);
    SetText(controls.buttonImageFile, kInternal);
    SetText(controls.audioFile, model.audioFile.empty() ? "" : kInternal);
    model.loading = 0;

    const GestureSettings& s = contents.settings;
    SetText(controls.displayedName, s.name);
    SetText(controls.red, std::to_string(s.red));
    SetText(controls.green, std::to_string(s.green));
    SetText(controls.blue, std::to_string(s.blue));
    SetText(controls.backToFrame, std::to_string(s.backToFrame));
    SetText(controls.audioStartFrame, std::to_string(s.audioStartFrame));
    SetText(controls.frameWidth, std::to_string(s.frameWidth));

    SetCheck(controls.audioOnce, (s.flags & GF_AUDIO_ONCE) != 0);
    SetCheck(controls.imageReverse, (s.flags & GF_IMAGE_REVERSE) != 0);
    SetCheck(controls.transparent, (s.flags & GF_TRANSPARENT) != 0);
    SetCheck(controls.imageLoop, (s.flags & GF_IMAGE_LOOP) != 0);
    ApplyEnabling(FormChange::Opened);

    model.MakeTitled(path, name);
    SetCaption();
}

}  // namespace qx
