// The builder form: enabling rules, change tracking, ConfirmDiscard and
// ResetForm. Programmatic text changes pass through the same update
// handlers as typing.
#include "app/BuilderDialog_win.h"
#include "platform/Controls_win.h"
#include "platform/Seams_win.h"

namespace qx {

bool BuilderDialog::ConfirmDiscard() {
    if (!dirty) return true;
    switch (ShowMessage(hwnd(), "Save changes to gesture?", MB_YESNOCANCEL)) {
    case IDYES:
        return FileSave();
    case IDNO:
        return true;
    default:
        return false;
    }
}

void BuilderDialog::ResetForm() {
    if (!ConfirmDiscard()) return;
    for (HWND edit : {controls.animationFile, controls.audioFile, controls.buttonImageFile, controls.displayedName,
                      controls.red, controls.green, controls.blue, controls.backToFrame, controls.audioStartFrame,
                      controls.frameWidth}) {
        SetText(edit, "");
    }
    for (HWND box : {controls.audioOnce, controls.imageReverse, controls.transparent, controls.imageLoop}) {
        SetCheck(box, false);
    }
    for (HWND control : {controls.red, controls.green, controls.blue, controls.backToFrame, controls.audioOnce,
                         controls.audioStartFrame}) {
        EnableWindow(control, FALSE);
    }
    fileTitle = "[Untitled]";
    untitled = 1;
    dirty = 0;
    SetCaption();
}

void BuilderDialog::SyncTransparentColour() {
    const BOOL on = IsChecked(controls.transparent);
    EnableWindow(controls.red, on);
    EnableWindow(controls.green, on);
    EnableWindow(controls.blue, on);
    dirty = 1;
}

void BuilderDialog::SyncImageLoop() {
    const bool loop = IsChecked(controls.imageLoop);
    EnableWindow(controls.backToFrame, loop);
    EnableWindow(controls.audioOnce, loop && !WindowText(controls.audioFile).empty());
    dirty = 1;
}

void BuilderDialog::OnAudioFileUpdate() {
    if (loading) return;
    audioFile = WindowText(controls.audioFile);
    EnableWindow(controls.audioStartFrame, !audioFile.empty());
    EnableWindow(controls.audioOnce, IsChecked(controls.imageLoop) && !audioFile.empty());
    dirty = 1;
}

void BuilderDialog::OnAnimationFileUpdate() {
    if (loading) return;
    animationFile = WindowText(controls.animationFile);
    dirty = 1;
}

void BuilderDialog::OnButtonImageFileUpdate() {
    if (loading) return;
    buttonImageFile = WindowText(controls.buttonImageFile);
    dirty = 1;
}

void BuilderDialog::MarkDirty() { dirty = 1; }

}  // namespace qx
