// The builder form: enabling, change tracking, ConfirmDiscard and ResetForm.
// The rules are the model's; this file reads the controls they depend on and
// applies the answers. Programmatic text changes pass through the same update
// handlers as typing.
#include "app/BuilderDialog_win.h"
#include "platform/Controls_win.h"
#include "platform/Seams_win.h"

namespace qx {

bool BuilderDialog::ConfirmDiscard() {
    return model.ConfirmDiscard(
        [&] {
            switch (ShowMessage(hwnd(), "Save changes to gesture?", MB_YESNOCANCEL)) {
            case IDYES: return SaveAnswer::Yes;
            case IDNO: return SaveAnswer::No;
            default: return SaveAnswer::Cancel;
            }
        },
        [&] { return FileSave(); });
}

void BuilderDialog::ApplyEnabling(FormChange change) {
    const FormChecks checks{IsChecked(controls.transparent), IsChecked(controls.imageLoop),
                            !WindowText(controls.audioFile).empty()};
    const FormEnabling before{IsWindowEnabled(controls.red) != FALSE, IsWindowEnabled(controls.backToFrame) != FALSE,
                              IsWindowEnabled(controls.audioOnce) != FALSE,
                              IsWindowEnabled(controls.audioStartFrame) != FALSE};
    const FormEnabling after = EnablingAfter(change, checks, before);
    for (HWND colour : {controls.red, controls.green, controls.blue}) EnableWindow(colour, after.colour);
    EnableWindow(controls.backToFrame, after.backToFrame);
    EnableWindow(controls.audioOnce, after.audioOnce);
    EnableWindow(controls.audioStartFrame, after.audioStartFrame);
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
    ApplyEnabling(FormChange::Reset);
    model.MakeUntitled();
    SetCaption();
}

void BuilderDialog::SyncTransparentColour() {
    ApplyEnabling(FormChange::Transparent);
    model.dirty = 1;
}

void BuilderDialog::SyncImageLoop() {
    ApplyEnabling(FormChange::ImageLoop);
    model.dirty = 1;
}

void BuilderDialog::OnAudioFileUpdate() {
    if (model.loading) return;
    model.audioFile = WindowText(controls.audioFile);
    ApplyEnabling(FormChange::AudioFile);
    model.dirty = 1;
}

void BuilderDialog::OnAnimationFileUpdate() {
    if (model.loading) return;
    model.animationFile = WindowText(controls.animationFile);
    model.dirty = 1;
}

void BuilderDialog::OnButtonImageFileUpdate() {
    if (model.loading) return;
    model.buttonImageFile = WindowText(controls.buttonImageFile);
    model.dirty = 1;
}

void BuilderDialog::MarkDirty() { model.dirty = 1; }

}  // namespace qx
