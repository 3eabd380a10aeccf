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

class CheckDialog final : public TableDialog<CheckDialog> {
public:
    CheckDialog(std::string text, bool canRepair)
        : TableDispatch(IDD_CHECK), text_(std::move(text)), canRepair_(canRepair) {}

private:
    friend TableDialog<CheckDialog>;

    Handled OnInitDialog(WPARAM, LPARAM) {
        SetText(Item(IDC_CHECK_FINDINGS), WithCarriageReturns(text_));
        EnableWindow(Item(IDC_CHECK_REPAIR), canRepair_);
        SetFocus(Item(IDOK));
        return {true, FALSE};
    }
    void Close() { End(IDOK); }
    void Cancel() { End(IDCANCEL); }
    void Repair() { End(IDC_CHECK_REPAIR); }

    static constexpr MessageRow<CheckDialog> kMessages[] = {{WM_INITDIALOG, &CheckDialog::OnInitDialog}};
    static constexpr CommandRow<CheckDialog> kCommands[] = {
        {IDOK, &CheckDialog::Close},
        {IDCANCEL, &CheckDialog::Cancel},
        {IDC_CHECK_REPAIR, &CheckDialog::Repair},
    };
    static constexpr HandlerTable<CheckDialog> kHandlers{kMessages, kCommands, {}};

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
