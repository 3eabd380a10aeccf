// Saving the form to a gesture file. The gesture replaces the target only
// when it is complete, so a failure at any point, memory running out too,
// leaves an existing target exactly as it was.
#include <cstdio>
#include <new>

#include "app/BuilderDialog_win.h"
#include "authoring/GestureForm.h"
#include "base/ReplaceFile.h"
#include "platform/Controls_win.h"
#include "platform/Seams_win.h"

namespace qx {
namespace {

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
    form.animationFile = model.animationFile;
    form.buttonImageFile = model.buttonImageFile;
    form.audioFile = model.audioFile;
    form.transparent = IsChecked(controls.transparent);
    form.imageLoop = IsChecked(controls.imageLoop);
    form.imageReverse = IsChecked(controls.imageReverse);
    form.audioOnce = IsChecked(controls.audioOnce);
    return form;
}

bool BuilderDialog::SaveGesture(const std::string& path, bool askOverwrite, bool validateOnly) try {
    const GestureForm form = ReadForm();
    if (const auto problem = ValidateGestureForm(form)) {
        ShowMessage(hwnd(), *problem);
        return false;
    }
    if (validateOnly) return true;

    // Whether the file is there is asked of the file system, not of an open
    // that can fail for a moment and so skip the question.
    const DWORD attributes = GetFileAttributesA(path.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    if (exists && askOverwrite &&
        ShowMessage(hwnd(), "File '" + path + "' already exists.\nReplace existing file?", MB_YESNO) != IDYES) {
        return false;
    }

    const std::string cannotOpen = "Can not open output file: '" + path + "'\nCheck if file is read-only.";
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        ((attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) || !CanWriteExisting(path))) {
        ShowMessage(hwnd(), cannotOpen);
        return false;
    }
    // The new file is made before the sections are read, so a target that
    // cannot be written is reported first, whatever the sections hold.
    FileReplacement replacement(path);
    if (!replacement.Started()) {
        ShowMessage(hwnd(), cannotOpen);
        return false;
    }
    std::vector<std::uint8_t> bytes;
    if (const auto failure = BuildGestureFile(form, bytes)) {
        ShowMessage(hwnd(), *failure);
        return false;
    }
    switch (replacement.Finish(bytes)) {
    case ReplaceResult::Replaced: return true;
    case ReplaceResult::CannotWrite: ShowMessage(hwnd(), "Can not write output file: '" + path + "'"); return false;
    case ReplaceResult::CannotCreate:
    case ReplaceResult::CannotPlace: break;
    }
    ShowMessage(hwnd(), cannotOpen);
    return false;
} catch (const std::bad_alloc&) {
    ShowMessage(hwnd(), "Can not write output file: '" + path + "'");
    return false;
}

}  // namespace qx
