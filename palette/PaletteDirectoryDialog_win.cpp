#include "palette/PaletteDirectoryDialog_win.h"

#include "platform/Controls_win.h"
#include "platform/Seams_win.h"

namespace qx {

PaletteDirectoryDialog::~PaletteDirectoryDialog() { DestroyNow(); }

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
