// Test: the gesture being edited, performed beside the preview pane.
#include "app/BuilderDialog_win.h"

namespace qx {

void BuilderDialog::TestGesture() {}

}  // namespace qx
