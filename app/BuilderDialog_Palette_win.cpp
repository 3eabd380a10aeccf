// Show Palette: the directory dialog, then the palette window.
#include <memory>

#include "app/BuilderDialog_win.h"
#include "palette/PaletteDirectoryDialog_win.h"
#include "palette/PaletteWindow_win.h"

namespace qx {

void BuilderDialog::ShowPalette() {
    PaletteDirectoryDialog dialog;
    dialog.SetDirectory(paletteDirectory);
    if (dialog.RunModal(hwnd()) != IDOK) return;
    paletteDirectory = dialog.GetDirectory();
    if (!paletteWindow) {
        paletteWindow = std::make_unique<PaletteWindow>();
        paletteWindow->Refresh(paletteDirectory);
        paletteWindow->Create(hwnd(), 10, 10, 0);
    } else {
        paletteWindow->Refresh(paletteDirectory);
        paletteWindow->Show(1);
    }
}

}  // namespace qx
