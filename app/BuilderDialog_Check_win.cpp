// Check Gesture: the checker's findings on the form as saving would read it,
// shown in a dialog. Nothing is saved or changed.
#include "app/BuilderDialog_win.h"
#include "authoring/PictureOffer.h"
#include "authoring/GestureChecker.h"
#include "platform/Controls_win.h"

namespace qx {
namespace {

// Edit controls break lines only at "\r\n".
std::string WithCarriageReturns(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

class CheckDialog final : public Dialog {
public:
    CheckDialog(std::string text, bool canRepair) : Dialog(IDD_CHECK), text_(std::move(text)), canRepair_(canRepair) {}

protected:
    Handled HandleMessage(UINT message, WPARAM wParam, LPARAM) override {
        if (message == WM_INITDIALOG) {
            SetText(Item(IDC_CHECK_FINDINGS), WithCarriageReturns(text_));
            EnableWindow(Item(IDC_CHECK_REPAIR), canRepair_);
            SetFocus(Item(IDOK));
            return {true, FALSE};
        }
        if (message == WM_COMMAND &&
            (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDC_CHECK_REPAIR)) {
            End(LOWORD(wParam));
            return {true, 0};
        }
        return kDefault;
    }

private:
    std::string text_;
    bool canRepair_;
};

}  // namespace

std::string BuilderDialog::CheckReport() const {
    const std::vector<Finding> findings = CheckGesture(CheckInputFromForm(ReadForm()));
    if (findings.empty()) return "No problems found.\n";
    return FormatFindings(findings);
}

void BuilderDialog::CheckGestureCommand() {
    CheckDialog dialog(CheckReport(), !RepairablePictures().empty());
    if (dialog.RunModal(hwnd()) == IDC_CHECK_REPAIR) RepairPictures();
}

}  // namespace qx
