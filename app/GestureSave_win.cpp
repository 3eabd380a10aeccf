// Saving the form to a gesture file.
#include "app/BuilderDialog_win.h"

namespace qx {

bool BuilderDialog::SaveGesture(const std::string&, bool, bool) { return false; }

}  // namespace qx
