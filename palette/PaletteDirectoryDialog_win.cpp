#include "palette/PaletteDirectoryDialog_win.h"

#include "platform/Controls_win.h"
#include "platform/Seams_win.h"

namespace qx {

const MessageRow<PaletteDirectoryDialog> PaletteDirectoryDialog::kMessages[] = {
    {WM_INITDIALOG, &PaletteDirectoryDialog::OnInitDialog},
};

// Escape and the close box arrive as IDCANCEL.
const CommandRow<PaletteDirectoryDialog> PaletteDirectoryDialog::kCommands[] = {
    {IDOK, &PaletteDirectoryDialog::OnOk},
    {IDCANCEL, &PaletteDirectoryDialog::OnCancel},
};

const HandlerTable<PaletteDirectoryDialog> PaletteDirectoryDialog::kHandlers{kMessages, kCommands, {}};

PaletteDirectoryDialog::~PaletteDirectoryDialog() { DestroyNow(); }

Handled PaletteDirectoryDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return Dispatch(*this, kHandlers, message, wParam, lParam);
}

Handled PaletteDirectoryDialog::OnInitDialog(WPARAM, LPARAM) {
    edit_ = Item(IDC_PALETTE_DIRECTORY);
    SetText(edit_, directory_);
    // TRUE leaves the focus on the first tab stop, OK, so Enter accepts the
    // directory shown.
    return {true, TRUE};
}

void PaletteDirectoryDialog::OnOk() {
    const std::string text = WindowText(edit_);
    if (text.empty()) {
        ShowMessage(hwnd(), "Directory must be specified");
        return;
    }
    directory_ = text;
    End(IDOK);
}

void PaletteDirectoryDialog::OnCancel() { End(IDCANCEL); }

}  // namespace qx
