// Opening a gesture file for editing: its sections are copied to the
// temporary files and the form is filled from its settings.
//
// The whole file is read and checked before anything changes, and each
// section replaces its temporary file only when written whole; should one
// fail, those already replaced get back what they held. A damaged file, or
// a temporary file that cannot be written, leaves the form, its path members
// and the sections they name exactly as they were.
#include <windows.h>
#include <commdlg.h>

#include <cstdio>
#include <optional>
#include <string>

#include "app/BuilderDialog_win.h"
#include "base/FileIo.h"
#include "base/ReplaceFile.h"
#include "gesture/GestureReader.h"
#include "base/TextCase.h"
#include "platform/Controls_win.h"
#include "platform/Seams_win.h"

namespace qx {
namespace {

constexpr const char* kInternal = "*** internal ***";

// A section on its way to its temporary file, with what that file held
// before (nothing when there was none).
struct PendingSection {
    const std::vector<std::uint8_t>* bytes;
    std::string target;
    const char* failure;
    std::optional<std::vector<std::uint8_t>> before;
};


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
    FilePtr file = OpenForReading(path);
    if (!file) {
        ShowMessage(hwnd(), "Can not open file \n" + path);
        return;
    }
    const auto slash = path.find_last_of('\\');
    model.paletteDirectory = slash == std::string::npos ? std::string() : path.substr(0, slash);
    file.reset();

    std::vector<std::uint8_t> bytes;
    GestureFileContents contents;
    GestureReadStatus status = GestureReadStatus::Truncated;
    if (ReadWholeFile(path, bytes, UINT32_MAX) == FileReadStatus::Ok) status = ReadGestureFile(bytes, contents);
    bytes.clear();
    bytes.shrink_to_fit();
    switch (status) {
    case GestureReadStatus::Ok:
        break;
    case GestureReadStatus::NotGesture:
        ShowMessage(hwnd(), path + "\nIs not a valid QX Gesture file.");
        return;
    case GestureReadStatus::Newer:
        ShowMessage(hwnd(), path + "\nwas built using a newer version of QXM-Builder, and can not be opened");
        return;
    case GestureReadStatus::Truncated:
        ShowMessage(hwnd(), path + "\nIs damaged: the file ends before its last section, and can not be opened.");
        return;
    }

    const bool hasAudio = (contents.settings.flags & GF_AUDIO) != 0;
    std::vector<PendingSection> sections = {
        {&contents.button, model.TempPath(kTempButtonImageName), "Can not open temporary file for palette button image\n", {}},
        {&contents.image, model.TempPath(kTempAnimationName), "Can not open temporary file for image section\n", {}},
    };
    if (hasAudio) {
        sections.push_back({&contents.audio, model.TempPath(kTempAudioName), "Can not open temporary file for audio section\n", {}});
    }
    // The sections of the gesture being edited are kept in memory until all
    // the new ones are in place; one that could not be kept could not be put
    // back, so its temporary file is refused before anything changes.
    for (auto& s : sections) {
        if (GetFileAttributesA(s.target.c_str()) == INVALID_FILE_ATTRIBUTES) continue;
        s.before.emplace();
        if (ReadWholeFile(s.target, *s.before, UINT32_MAX) != FileReadStatus::Ok) {
            ShowMessage(hwnd(), s.failure + s.target);
            return;
        }
    }
    for (std::size_t i = 0; i < sections.size(); ++i) {
        if (ReplaceFileWhole(sections[i].target, *sections[i].bytes) == ReplaceResult::Replaced) continue;
        for (std::size_t done = 0; done < i; ++done) {
            const PendingSection& s = sections[done];
            if (s.before) {
                ReplaceFileWhole(s.target, *s.before);
            } else {
                DeleteFileA(s.target.c_str());
            }
        }
        ShowMessage(hwnd(), sections[i].failure + sections[i].target);
        return;
    }

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
