// Export of one embedded file of the gesture being edited: a byte copy of
// the file its path member names, to a place the author chooses. The copy
// replaces an existing file there only when it is complete, and memory
// running out leaves it as it was.
#include <windows.h>
#include <commdlg.h>

#include <cstdint>
#include <new>
#include <vector>

#include "app/BuilderDialog_win.h"
#include "base/FileIo.h"
#include "base/ReplaceFile.h"
#include "platform/Seams_win.h"

namespace qx {
namespace {

// The largest section a gesture file can hold.
constexpr std::uint64_t kMaxSectionBytes = UINT32_MAX;

// Whether two paths name the same existing file, however they are spelled.
bool SameFile(const std::string& a, const std::string& b) {
    auto identify = [](const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
        HANDLE handle = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) return false;
        const BOOL ok = GetFileInformationByHandle(handle, &info);
        CloseHandle(handle);
        return ok != FALSE;
    };
    BY_HANDLE_FILE_INFORMATION first{}, second{};
    if (!identify(a, first) || !identify(b, second)) return false;
    return first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
           first.nFileIndexHigh == second.nFileIndexHigh && first.nFileIndexLow == second.nFileIndexLow;
}

}  // namespace

void BuilderDialog::ExportAnimation() { ExportSection(model.animationFile, "Animation Image", "gif"); }
void BuilderDialog::ExportButtonImage() { ExportSection(model.buttonImageFile, "Palette Button Image", "gif"); }
void BuilderDialog::ExportAudio() { ExportSection(model.audioFile, "Audio Data", "wav"); }

void BuilderDialog::ExportSection(std::string sourcePath, std::string description, std::string extension) try {
    if (sourcePath.empty()) {
        ShowMessage(hwnd(), "No " + description + " defined.");
        return;
    }
    const std::string filter = extension + " file (*." + extension + ")|*." + extension + "||";
    const auto choice = FileDialogs().Ask(
        hwnd(), {true, filter, "." + extension, OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST});
    if (!choice) return;
    const std::string& target = choice->path;

    // A copy onto its own source is refused rather than rewritten in place.
    if (SameFile(sourcePath, target)) {
        ShowMessage(hwnd(), "Error: Can not save a file over itself: " + target);
        return;
    }
    if (!OpenForReading(sourcePath)) {
        ShowMessage(hwnd(), "Error: Can not open input file " + sourcePath);
        return;
    }
    FileReplacement replacement(target);
    if (!replacement.Started()) {
        ShowMessage(hwnd(), "Error: Can not open output file " + target);
        return;
    }
    std::vector<std::uint8_t> bytes;
    if (ReadWholeFile(sourcePath, bytes, kMaxSectionBytes) != FileReadStatus::Ok) {
        ShowMessage(hwnd(), "Error: Can not read input file " + sourcePath);
        return;
    }
    switch (replacement.Finish(bytes)) {
    case ReplaceResult::Replaced: return;
    case ReplaceResult::CannotWrite: ShowMessage(hwnd(), "Error: Can not write output file " + target); return;
    case ReplaceResult::CannotCreate:
    case ReplaceResult::CannotPlace: ShowMessage(hwnd(), "Error: Can not open output file " + target); return;
    }
} catch (const std::bad_alloc&) {
    // The copy is read whole: a section too large for memory is not copied.
    ShowMessage(hwnd(), "Error: Can not read input file " + sourcePath);
}

}  // namespace qx
