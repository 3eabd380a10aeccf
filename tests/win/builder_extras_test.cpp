// Additions beside the specified builder: Check Gesture, dropped files and
// keyboard shortcuts.
#include "BuilderFixture_win.h"
#include "tests/support/GestureBytes.h"
#include "app/Accelerators_win.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cstring>

namespace qx::test {
namespace {

// A WM_DROPFILES handle as the shell makes it: one file dropped at a client point.
HDROP MakeDrop(const std::string& path, POINT at) {
    const std::size_t size = sizeof(DROPFILES) + path.size() + 2;
    HGLOBAL memory = GlobalAlloc(GHND, size);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->pt = at;
    drop->fNC = FALSE;
    drop->fWide = FALSE;
    std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), path.c_str(), path.size() + 1);
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

POINT CentreOf(HWND control, HWND parent) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

class BuilderExtras : public BuilderTest {
protected:
    void Drop(const std::string& path, POINT at) const {
        SendMessageA(builder->hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(path, at)), 0);
    }
    void DropOn(int id, const std::string& path) const { Drop(path, CentreOf(Item(id), builder->hwnd())); }
};

TEST_F(BuilderExtras, DroppedPicturesAndSoundsFillTheFieldUnderThePointer) {
    builder->model.dirty = 0;
    DropOn(1001, "c:\\art\\Strip.GIF");
    EXPECT_EQ(Text(1001), "c:\\art\\Strip.GIF");
    EXPECT_EQ(builder->model.animationFile, "c:\\art\\Strip.GIF");
    EXPECT_EQ(builder->model.dirty, 1);
    DropOn(1021, "c:\\art\\b.gif");
    EXPECT_EQ(builder->model.buttonImageFile, "c:\\art\\b.gif");
    DropOn(1002, "c:\\s\\hi.wav");
    EXPECT_EQ(builder->model.audioFile, "c:\\s\\hi.wav");
    EXPECT_TRUE(Enabled(1015));

    // A sound on the picture field, or a picture elsewhere, is not taken.
    DropOn(1001, "c:\\s\\x.wav");
    DropOn(1004, "c:\\art\\y.gif");
    EXPECT_EQ(builder->model.animationFile, "c:\\art\\Strip.GIF");
    EXPECT_EQ(Text(1004), "");
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(BuilderExtras, DroppedGestureOpensAfterTheQuestion) {
    ScratchDirectory dir;
    GestureFields f;
    f.name = "Dropped";
    WriteFileBytes(dir.File("Drop.qxm"), GestureFileBytes(f));
    Type(1004, "unsaved");
    messages.Answer(IDCANCEL);
    Drop(dir.File("Drop.qxm"), {5, 5});
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"Save changes to gesture?"});
    EXPECT_EQ(Text(1004), "unsaved");

    messages.Answer(IDNO);
    Drop(dir.File("Drop.qxm"), {5, 5});
    EXPECT_EQ(Text(1004), "Dropped");
    EXPECT_EQ(Caption(), "drop.qxm - Quixmoor Gesture");
    EXPECT_EQ(builder->model.dirty, 0);
    EXPECT_TRUE(files.asked.empty());
}

TEST_F(BuilderExtras, CheckGestureReportsOnTheFormAndChangesNothing) {
    ScratchDirectory dir;
    WriteFileBytes(dir.File("strip.gif"), Pattern(100, 1));  // not a picture at all
    WriteFileBytes(dir.File("button.gif"), Pattern(50, 2));
    Type(1001, dir.File("strip.gif"));
    Type(1021, dir.File("button.gif"));
    Type(1004, "Wave");
    builder->model.dirty = 0;
    const std::string report = builder->CheckReport();
    EXPECT_EQ(report.find("Displayed name"), std::string::npos) << report;
    EXPECT_NE(report.find("error"), std::string::npos) << report;
    EXPECT_EQ(builder->model.dirty, 0);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_FALSE(FileExists(builder->model.TempPath("~tempqxm.qxm")));
}

std::string shownFindings;

void CALLBACK ReadAndCloseCheck(HWND, UINT, UINT_PTR id, DWORD) {
    HWND dialog = FindWindowA("#32770", "Check Gesture");
    if (!dialog) return;
    KillTimer(nullptr, id);
    shownFindings = WindowText(GetDlgItem(dialog, IDC_CHECK_FINDINGS));
    SendMessageA(dialog, WM_COMMAND, IDOK, 0);
}

TEST_F(BuilderExtras, CheckGestureCommandShowsTheFindings) {
    shownFindings.clear();
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, &ReadAndCloseCheck);
    Command(ID_TOOLS_CHECK);
    KillTimer(nullptr, timer);
    EXPECT_NE(shownFindings.find("Displayed name must be specified"), std::string::npos) << shownFindings;
    EXPECT_NE(shownFindings.find("\r\n"), std::string::npos);
}

TEST_F(BuilderExtras, ShortcutsReachTheirCommands) {
    BuilderAccelerators keys(builder->hwnd());
    auto press = [&](WPARAM key, bool control) {
        BYTE state[256] = {};
        GetKeyboardState(state);
        state[VK_CONTROL] = control ? 0x80 : 0;
        SetKeyboardState(state);
        MSG msg{Item(1004), WM_KEYDOWN, key, 1, 0, {0, 0}};
        const bool translated = keys.Translate(msg);
        state[VK_CONTROL] = 0;
        SetKeyboardState(state);
        return translated;
    };
    // F5: Test, which validates the empty form first.
    EXPECT_TRUE(press(VK_F5, false));
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"Displayed name must be specified"});
    // Ctrl+S on the untitled form: Save acts as Save As, which validates first too.
    messages.shown.clear();
    EXPECT_TRUE(press('S', true));
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"Displayed name must be specified"});
    // Ctrl+O: the open dialog.
    files.Cancel();
    EXPECT_TRUE(press('O', true));
    ASSERT_EQ(files.asked.size(), 1u);
    EXPECT_EQ(files.asked[0].filter, "Quixmoor Gestures (*.qxm)|*.qxm||");
    // Ctrl+N with unsaved changes asks.
    Type(1004, "x");
    messages.shown.clear();
    messages.Answer(IDCANCEL);
    EXPECT_TRUE(press('N', true));
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"Save changes to gesture?"});
    // Plain N is typing, not a shortcut.
    EXPECT_FALSE(press('N', false));
}

}  // namespace
}  // namespace qx::test
