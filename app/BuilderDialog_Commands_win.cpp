// The builder's commands: New, Open, Save, Save As, About, Exit and the
// three Browse buttons. Test is in BuilderDialog_Test_win.cpp, Show Palette
// in BuilderDialog_Palette_win.cpp.
#include <windows.h>
#include <commdlg.h>

#include "app/BuilderDialog_win.h"
#include "platform/Controls_win.h"
#include "platform/Seams_win.h"

namespace qx {
namespace {

constexpr const char* kGestureFilter = "Quixmoor Gestures (*.qxm)|*.qxm||";

class AboutDialog final : public TableDialog<AboutDialog> {
public:
    AboutDialog() : TableDispatch(IDD_ABOUT) {}

private:
    friend TableDialog<AboutDialog>;

    Handled OnInitDialog(WPARAM, LPARAM) { return {true, TRUE}; }
    void Close() { End(IDOK); }
    void Cancel() { End(IDCANCEL); }

    static constexpr MessageRow<AboutDialog> kMessages[] = {{WM_INITDIALOG, &AboutDialog::OnInitDialog}};
    static constexpr CommandRow<AboutDialog> kCommands[] = {
        {IDOK, &AboutDialog::Close},
        {IDCANCEL, &AboutDialog::Cancel},
    };
    static constexpr HandlerTable<AboutDialog> kHandlers{kMessages, kCommands, {}};
};

}  // namespace

void BuilderDialog::FileNew() { ResetForm(); }

void BuilderDialog::FileOpen() {
    if (!HasTempDirectory("Can not open a gesture.")) {
        model.commandLineFile.clear();
        return;
    }
    OpenGesture();
}

bool BuilderDialog::FileSave() {
    if (model.untitled) return FileSaveAs();
    const bool saved = SaveGesture(model.filePath, false, false);
    if (saved) model.dirty = 0;
    return saved;
}

bool BuilderDialog::FileSaveAs() {
    if (!SaveGesture("", false, true)) return false;
    const auto choice =
        FileDialogs().Ask(hwnd(), {true, kGestureFilter, ".qxm", OFN_HIDEREADONLY | OFN_PATHMUSTEXIST});
    if (!choice) return false;
    const bool saved = SaveGesture(choice->path, true, false);
    if (saved) {
        model.MakeTitled(choice->path, choice->fileName);
        SetCaption();
    }
    return saved;
}

void BuilderDialog::ShowAbout() {
    AboutDialog about;
    about.RunModal(hwnd());
}

void BuilderDialog::FileExit() { SendMessageA(hwnd(), WM_CLOSE, 0, 0); }

void BuilderDialog::Browse(const char* filter, const char* defaultExtension, HWND edit) {
    const auto choice = FileDialogs().Ask(
        hwnd(), {false, filter, defaultExtension, OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST});
    if (!choice) return;
    SetText(edit, choice->path);
    model.dirty = 1;
    if (edit != controls.audioFile) OfferPictureFix(edit);
}

void BuilderDialog::BrowseAnimation() { Browse("GIF files (*.gif)|*.gif||", ".gif", controls.animationFile); }
void BuilderDialog::BrowseAudio() { Browse("WAVE files (*.wav)|*.wav||", ".wav", controls.audioFile); }
void BuilderDialog::BrowseButtonImage() {
    Browse("GIF files of size 20*20 (*.gif)|*.gif||", ".gif", controls.buttonImageFile);
}

}  // namespace qx
