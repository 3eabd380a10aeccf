// Saving the form to a gesture file. The gesture is written to a new file
// beside the target and moved over it only when complete, so a failure at
// any point leaves an existing target exactly as it was.
#include <cstdio>

#include "app/BuilderDialog_win.h"
#include "authoring/GestureForm.h"
#include "base/FileIo.h"
#include "platform/Controls_win.h"
#include "platform/Seams_win.h"

namespace qx {
namespace {

// The directory the target lies in, from its full path, so that the new
// file is made on the target's own drive even for "c:wave.qxm".
std::string DirectoryOf(const std::string& path) {
    char full[MAX_PATH + 1] = "";
    char* name = nullptr;
    const DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, &name);
    if (length == 0 || length >= sizeof full || !name || name == full) return ".";
    *name = '\0';
    return full;
}


// Whether an existing target can be replaced: the open for writing that
// would truncate it, made without truncating.
bool CanWriteExisting(const std::string& path) {
    HANDLE handle = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    CloseHandle(handle);
    return true;
}

}  // namespace

GestureForm BuilderDialog::ReadForm() const {
    GestureForm form;
    form.name = WindowText(controls.displayedName);
    form.frameWidth = WindowText(controls.frameWidth);
    form.red = WindowText(controls.red);
    form.green = WindowText(controls.green);
    form.blue = WindowText(controls.blue);
    form.backToFrame = WindowText(controls.backToFrame);
    form.audioStartFrame = WindowText(controls.audioStartFrame);
    form.animationFile = animationFile;
    form.buttonImageFile = buttonImageFile;
    form.audioFile = audioFile;
    form.transparent = IsChecked(controls.transparent);
    form.imageLoop = IsChecked(controls.imageLoop);
    form.imageReverse = IsChecked(controls.imageReverse);
    form.audioOnce = IsChecked(controls.audioOnce);
    return form;
}

bool BuilderDialog::SaveGesture(const std::string& path, bool askOverwrite, bool validateOnly) {
    const GestureForm form = ReadForm();
    if (const auto problem = ValidateGestureForm(form)) {
        ShowMessage(hwnd(), *problem);
        return false;
    }
    if (validateOnly) return true;

    const bool exists = OpenForReading(path) != nullptr;
    if (exists && askOverwrite &&
        ShowMessage(hwnd(), "File '" + path + "' already exists.\nReplace existing file?", MB_YESNO) != IDYES) {
        return false;
    }

    const std::string cannotOpen = "Can not open output file: '" + path + "'\nCheck if file is read-only.";
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        ((attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) || !CanWriteExisting(path))) {
        ShowMessage(hwnd(), cannotOpen);
        return false;
    }
    char partial[MAX_PATH + 1] = "";
    if (!GetTempFileNameA(DirectoryOf(path).c_str(), "qxs", 0, partial)) {
        ShowMessage(hwnd(), cannotOpen);
        return false;
    }

    std::vector<std::uint8_t> bytes;
    std::optional<std::string> failure = BuildGestureFile(form, bytes);
    if (!failure && !WriteWholeFile(partial, bytes)) failure = "Can not write output file: '" + path + "'";
    if (!failure && !MoveFileExA(partial, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        failure = cannotOpen;
    }
    if (failure) {
        DeleteFileA(partial);
        ShowMessage(hwnd(), *failure);
        return false;
    }
    return true;
}

}  // namespace qx
