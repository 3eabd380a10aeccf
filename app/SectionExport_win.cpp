// Export of one embedded file of the gesture being edited.
#include "app/BuilderDialog_win.h"

namespace qx {

void BuilderDialog::ExportAnimation() { ExportSection(animationFile, "Animation Image", "gif"); }
void BuilderDialog::ExportButtonImage() { ExportSection(buttonImageFile, "Palette Button Image", "gif"); }
void BuilderDialog::ExportAudio() { ExportSection(audioFile, "Audio Data", "wav"); }

void BuilderDialog::ExportSection(std::string, std::string, std::string) {}

}  // namespace qx
