// "Directory for Palette", run modeless and driven as a user drives it.
#include <memory>

#include "TestSupport_win.h"
#include "palette/PaletteDirectoryDialog_win.h"
#include "platform/Controls_win.h"

namespace qx::test {
namespace {

class PaletteDirectory : public SeamTest {
protected:
    void Open(const std::string& directory) {
        dialog = std::make_unique<PaletteDirectoryDialog>();
        dialog->SetDirectory(directory);
        ASSERT_NE(dialog->CreateModeless(nullptr), nullptr);
    }
    void TearDown() override {
        dialog.reset();
        SeamTest::TearDown();
    }
    HWND Edit() const { return dialog->Item(IDC_PALETTE_DIRECTORY); }
    void Type(const std::string& text) const { SetWindowTextA(Edit(), text.c_str()); }
    void Press(WPARAM id) const { SendMessageA(dialog->hwnd(), WM_COMMAND, id, 0); }

    std::unique_ptr<PaletteDirectoryDialog> dialog;
};

TEST_F(PaletteDirectory, OpensShowingItsDirectoryWithOkFirstInTabOrder) {
    Open("c:\\temp");
    EXPECT_EQ(WindowText(Edit()), "c:\\temp");
    EXPECT_EQ(WindowText(dialog->hwnd()), "Directory for Palette");
    EXPECT_EQ(GetFocus(), dialog->Item(IDOK));
    EXPECT_EQ(GetNextDlgTabItem(dialog->hwnd(), dialog->Item(IDOK), FALSE), dialog->Item(IDCANCEL));
    EXPECT_EQ(GetNextDlgTabItem(dialog->hwnd(), dialog->Item(IDCANCEL), FALSE), Edit());
}

// Only an empty entry is refused; anything else is taken exactly as typed,
// and Cancel keeps the directory.
TEST_F(PaletteDirectory, EmptyEntryIsRefusedAndAnyOtherTextTakenAsTyped) {
    Open("d:\\gest");
    Type("");
    Press(IDOK);
    ASSERT_EQ(messages.Texts(), (std::vector<std::string>{"Directory must be specified"}));
    EXPECT_EQ(messages.shown[0].type & MB_TYPEMASK, static_cast<UINT>(MB_OK));
    EXPECT_FALSE(dialog->Ended());
    Press(IDCANCEL);
    EXPECT_EQ(dialog->EndResult(), IDCANCEL);
    EXPECT_EQ(dialog->GetDirectory(), "d:\\gest");

    for (const std::string text : {" ", "  no such place\\ "}) {
        Open("c:\\temp");
        Type(text);
        Press(IDOK);
        EXPECT_EQ(dialog->EndResult(), IDOK);
        EXPECT_EQ(dialog->GetDirectory(), text);
    }
    EXPECT_EQ(messages.shown.size(), 1u);
}

}  // namespace
}  // namespace qx::test
