// Opening a gesture file for editing.
#include "app/BuilderDialog_win.h"

namespace qx {

void BuilderDialog::OpenGesture() {}

}  // namespace qx
