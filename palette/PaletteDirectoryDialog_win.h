// "Directory for Palette": asks which directory the palette shows. Only an
// empty entry is refused; anything else is taken exactly as typed, since a
// directory that does not exist simply gives an empty palette.
#pragma once

#include <windows.h>

#include <string>

#include "platform/Window_win.h"
#include "resources/resource.h"

namespace qx {

class PaletteDirectoryDialog : public TableDialog<PaletteDirectoryDialog> {
public:
    static constexpr int kDialogId = IDD_PALETTE_DIRECTORY;

    PaletteDirectoryDialog() : TableDispatch(kDialogId) {}
    ~PaletteDirectoryDialog() override;

    // Shown when the dialog opens.
    void SetDirectory(const std::string& text) { directory_ = text; }
    // After OK, the text the user accepted; otherwise what SetDirectory set.
    std::string GetDirectory() const { return directory_; }

private:
    friend TableDialog<PaletteDirectoryDialog>;

    Handled OnInitDialog(WPARAM, LPARAM);
    void OnOk();
    void OnCancel();

    std::string directory_;
    HWND edit_ = nullptr;

    static constexpr MessageRow<PaletteDirectoryDialog> kMessages[] = {
        {WM_INITDIALOG, &PaletteDirectoryDialog::OnInitDialog},
    };
    // Escape and the close box arrive as IDCANCEL.
    static constexpr CommandRow<PaletteDirectoryDialog> kCommands[] = {
        {IDOK, &PaletteDirectoryDialog::OnOk},
        {IDCANCEL, &PaletteDirectoryDialog::OnCancel},
    };
    static constexpr HandlerTable<PaletteDirectoryDialog> kHandlers{kMessages, kCommands, {}};
};

}  // namespace qx
