// Export of one embedded file of the gesture being edited: a byte copy of
// the file its path member names, to a place the author chooses.
#include <windows.h>
#include <commdlg.h>

#include <cstdio>

#include "app/BuilderDialog_win.h"
#include "base/FileIo.h"
#include "platform/Seams_win.h"

namespace qx {
namespace {

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

void BuilderDialog::ExportAnimation() { ExportSection(animationFile, "Animation Image", "gif"); }
void BuilderDialog::ExportButtonImage() { ExportSection(buttonImageFile, "Palette Button Image", "gif"); }
void BuilderDialog::ExportAudio() { ExportSection(audioFile, "Audio Data", "wav"); }

void BuilderDialog::ExportSection(std::string sourcePath, std::string description, std::string extension) {
    if (sourcePath.empty()) {
        ShowMessage(hwnd(), "No " + description + " defined.");
        return;
    }
    const std::string filter = extension + " file (*." + extension + ")|*." + extension + "||";
    const auto choice = FileDialogs().Ask(
        hwnd(), {true, filter, "." + extension, OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST});
    if (!choice) return;
    const std::string& target = choice->path;

    // Opening the target for writing would empty the source before it is read.
    if (SameFile(sourcePath, target)) {
        ShowMessage(hwnd(), "Error: Can not save a file over itself: " + target);
        return;
    }
    FilePtr source = OpenForReading(sourcePath);
    if (!source) {
        ShowMessage(hwnd(), "Error: Can not open input file " + sourcePath);
        return;
    }
    FILE* output = std::fopen(target.c_str(), "wb");
    if (!output) {
        source.reset();
        ShowMessage(hwnd(), "Error: Can not open output file " + target);
        return;
    }

    std::string failure;
    char buffer[64 * 1024];
    while (failure.empty()) {
        const std::size_t got = std::fread(buffer, 1, sizeof buffer, source.get());
        if (got > 0 && std::fwrite(buffer, 1, got, output) != got) failure = "Error: Can not write output file " + target;
        if (got < sizeof buffer) {
            if (std::ferror(source.get())) failure = "Error: Can not read input file " + sourcePath;
            break;
        }
    }
    source.reset();
    if (std::fclose(output) != 0 && failure.empty()) failure = "Error: Can not write output file " + target;
    if (!failure.empty()) {
        DeleteFileA(target.c_str());
        ShowMessage(hwnd(), failure);
    }
}

}  // namespace qx
