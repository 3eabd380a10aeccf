// Show Palette: the directory dialog, then the palette window.
#include <memory>

#include "app/BuilderDialog_win.h"
#include "palette/PaletteDirectoryDialog_win.h"
#include "palette/PaletteWindow_win.h"

namespace qx {

void BuilderDialog::ShowPalette() {
    PaletteDirectoryDialog dialog;
    dialog.SetDirectory(model.paletteDirectory);
    if (dialog.RunModal(hwnd()) != IDOK) return;
    model.paletteDirectory = dialog.GetDirectory();
    if (!paletteWindow) {
        paletteWindow = std::make_unique<PaletteWindow>();
        paletteWindow->Refresh(model.paletteDirectory);
        paletteWindow->Create(hwnd(), 10, 10, 0);
    } else {
        paletteWindow->Refresh(model.paletteDirectory);
        paletteWindow->Show(1);
    }
}

}  // namespace qx
