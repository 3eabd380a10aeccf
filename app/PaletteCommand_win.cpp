// Show Palette: the directory dialog, then the palette window.
#include "app/BuilderDialog_win.h"

namespace qx {

void BuilderDialog::ShowPalette() {}

}  // namespace qx
