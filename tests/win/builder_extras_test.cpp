// The builder's commands that name files without opening a gesture (Browse
// and dropped files), the About and Check Gesture boxes, and the keyboard
// shortcuts.
#include "BuilderFixture_win.h"
#include "app/Accelerators_win.h"

#include <commdlg.h>

namespace qx::test {
namespace {

using BuilderExtras = BuilderTest;

POINT CentreOf(HWND control, HWND parent) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

TEST_F(BuilderExtras, BrowseAndDropFillTheFieldAndItsPathMember) {
    struct Row {
        int button, edit;
        const char* filter;
        std::string BuilderModel::*member;
        const char* dropped;
    };
    const Row rows[] = {
        {IDC_BROWSE_AUDIO, IDC_AUDIO_FILE, "WAVE files (*.wav)|*.wav||", &BuilderModel::audioFile, "c:\\s\\Hi.WAV"},
        {IDC_BROWSE_ANIMATION, IDC_ANIMATION_FILE, "GIF files (*.gif)|*.gif||", &BuilderModel::animationFile,
         "c:\\art\\Strip.GIF"},
        {IDC_BROWSE_BUTTON_IMAGE, IDC_BUTTON_IMAGE_FILE, "GIF files of size 20*20 (*.gif)|*.gif||",
         &BuilderModel::buttonImageFile, "c:\\art\\b.gif"},
    };
    for (const Row& r : rows) {
        builder->model.dirty = 0;
        files.Choose("c:\\art\\picked");
        Click(r.button);
        ASSERT_FALSE(files.asked.empty());
        EXPECT_FALSE(files.asked.back().save);
        EXPECT_EQ(files.asked.back().filter, r.filter);
        EXPECT_EQ(files.asked.back().flags, static_cast<DWORD>(OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST));
        EXPECT_EQ(builder->model.*(r.member), "c:\\art\\picked") << r.filter;
        EXPECT_EQ(builder->model.dirty, 1);

        builder->model.dirty = 0;
        Drop(r.dropped, CentreOf(Item(r.edit), builder->hwnd()));
        EXPECT_EQ(Text(r.edit), r.dropped);
        EXPECT_EQ(builder->model.*(r.member), r.dropped);
        EXPECT_EQ(builder->model.dirty, 1);
    }
    // The audio edit went through its own handler: the start frame is enabled.
    EXPECT_TRUE(Enabled(IDC_AUDIO_START_FRAME));
    // A cancelled dialog changes nothing; a sound on the picture field, or a
    // picture elsewhere, is not taken.
    builder->model.dirty = 0;
    files.Cancel();
    Click(IDC_BROWSE_ANIMATION);
    Drop("c:\\s\\x.wav", CentreOf(Item(IDC_ANIMATION_FILE), builder->hwnd()));
    Drop("c:\\art\\y.gif", CentreOf(Item(IDC_DISPLAYED_NAME), builder->hwnd()));
    EXPECT_EQ(builder->model.animationFile, "c:\\art\\Strip.GIF");
    EXPECT_EQ(Text(IDC_DISPLAYED_NAME), "");
    EXPECT_EQ(builder->model.dirty, 0);
    EXPECT_TRUE(messages.shown.empty());
}

// The About and Check Gesture boxes run modal: a timer finds the box, reads
// its texts and closes it with OK.
std::string seenTexts;

template <const char* caption>
void CALLBACK ReadAndClose(HWND, UINT, UINT_PTR id, DWORD) {
    HWND box = FindWindowA("#32770", caption);
    if (!box) return;
    KillTimer(nullptr, id);
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        seenTexts += WindowText(child) + "|";
    }
    SendMessageA(box, WM_COMMAND, IDOK, 0);
}

constexpr char kAbout[] = "About QXM Builder";
constexpr char kCheck[] = "Check Gesture";

TEST_F(BuilderExtras, AboutAndCheckGestureRunModalUntilOk) {
    for (auto [command, read] : {std::pair<WPARAM, TIMERPROC>{ID_APP_ABOUT, &ReadAndClose<kAbout>},
                                 {ID_TOOLS_CHECK, &ReadAndClose<kCheck>}}) {
        seenTexts.clear();
        const UINT_PTR timer = SetTimer(nullptr, 0, 50, read);
        Command(command);  // returns once the box is closed
        KillTimer(nullptr, timer);
        EXPECT_FALSE(seenTexts.empty()) << command;
    }
    // Check Gesture was given the form: the findings begin with its first problem.
    EXPECT_EQ(seenTexts.rfind("error: Displayed name must be specified\r\n", 0), 0u) << seenTexts;
    EXPECT_EQ(builder->model.dirty, 0);
}

TEST_F(BuilderExtras, ShortcutsReachTheirCommands) {
    BuilderAccelerators keys(builder->hwnd());
    auto press = [&](WPARAM key, bool control) {
        BYTE state[256] = {};
        GetKeyboardState(state);
        state[VK_CONTROL] = control ? 0x80 : 0;
        SetKeyboardState(state);
        MSG msg{Item(IDC_DISPLAYED_NAME), WM_KEYDOWN, key, 1, 0, {0, 0}};
        const bool translated = keys.Translate(msg);
        state[VK_CONTROL] = 0;
        SetKeyboardState(state);
        return translated;
    };
    // F5: Test, and Ctrl+S on the untitled form: Save As; both check the empty form first.
    EXPECT_TRUE(press(VK_F5, false));
    EXPECT_TRUE(press('S', true));
    EXPECT_EQ(messages.Texts(), std::vector<std::string>(2, "Displayed name must be specified"));
    files.Cancel();
    EXPECT_TRUE(press('O', true));
    ASSERT_EQ(files.asked.size(), 1u);
    EXPECT_EQ(files.asked[0].filter, "Quixmoor Gestures (*.qxm)|*.qxm||");
    Type(IDC_DISPLAYED_NAME, "x");
    messages.shown.clear();
    messages.Answer(IDCANCEL);
    EXPECT_TRUE(press('N', true));
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"Save changes to gesture?"});
    // Plain N is typing, not a shortcut.
    EXPECT_FALSE(press('N', false));
}

}  // namespace
}  // namespace qx::test
