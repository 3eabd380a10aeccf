// The builder window: its start and New, its menu and tab order, the
// question asked before unsaved work is dropped, its private temporary
// directory, the commands that name files without opening a gesture (Browse
// and dropped files), the About and Check Gesture boxes, and the keyboard
// shortcuts.
#include "BuilderFixture_win.h"
#include "app/Accelerators_win.h"

#include <commdlg.h>

#include <filesystem>
#include <functional>

namespace qx::test {
namespace {

constexpr int kEdits[] = {IDC_ANIMATION_FILE, IDC_AUDIO_FILE, IDC_BUTTON_IMAGE_FILE, IDC_DISPLAYED_NAME,
                          IDC_FRAME_WIDTH,    IDC_RED,        IDC_GREEN,             IDC_BLUE,
                          IDC_BACK_TO_FRAME,  IDC_AUDIO_START_FRAME};
constexpr int kBoxes[] = {IDC_TRANSPARENT, IDC_IMAGE_LOOP, IDC_IMAGE_REVERSE, IDC_AUDIO_ONCE};
constexpr int kDependents[] = {IDC_RED, IDC_GREEN, IDC_BLUE, IDC_BACK_TO_FRAME, IDC_AUDIO_START_FRAME, IDC_AUDIO_ONCE};

class BuilderWindow : public BuilderFileTest {
protected:
    void ExpectEmptyUntitledForm() const {
        EXPECT_EQ(Caption(), "[Untitled] - Quixmoor Gesture");
        for (int id : kEdits) EXPECT_EQ(Text(id), "") << id;
        for (int id : kBoxes) EXPECT_FALSE(Checked(id)) << id;
        for (int id : kDependents) EXPECT_FALSE(Enabled(id)) << id;
        EXPECT_EQ(builder->model.dirty, 0);
    }
};

TEST_F(BuilderWindow, StartsAsTheEmptyUntitledFormAndNewEmptiesItAgain) {
    ExpectEmptyUntitledForm();
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_FALSE(IsWindowVisible(Item(IDC_PREVIEW_PLACE)));
    EXPECT_NE(builder->appIcon, nullptr);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(builder->hwnd(), WM_QUERYDRAGICON, 0, 0)), builder->appIcon);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(builder->hwnd(), WM_GETICON, ICON_BIG, 0)), builder->appIcon);
    // Nothing was named on the command line, so no Open is waiting.
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, builder->hwnd(), WM_COMMAND, WM_COMMAND, PM_NOREMOVE));

    // Each edit typed into and each box clicked marks the form (a click
    // reaches a disabled box too); the sound, the transparent box and the
    // loop box enable what depends on them.
    for (int id : kEdits) {
        builder->model.dirty = 0;
        Type(id, "1");
        EXPECT_EQ(builder->model.dirty, 1) << id;
    }
    for (int id : kBoxes) {
        builder->model.dirty = 0;
        Click(id);
        EXPECT_EQ(builder->model.dirty, 1) << id;
    }
    for (int id : kDependents) EXPECT_TRUE(Enabled(id)) << id;
    EXPECT_EQ(builder->model.audioFile, "1");
    // New keeps where the palette looks and the next balloon's colour.
    builder->model.paletteDirectory = "c:\\g";
    builder->balloonColourIndex = 3;
    messages.Answer(IDNO);
    Command(ID_FILE_NEW);
    ExpectEmptyUntitledForm();
    EXPECT_EQ(builder->model.paletteDirectory, "c:\\g");
    EXPECT_EQ(builder->balloonColourIndex, 3);
}

TEST_F(BuilderWindow, MenuAndTabKeyFollowTheFormsOrder) {
    const std::vector<std::vector<UINT>> menus = {
        {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, ID_FILE_SAVE_AS, 0, ID_FILE_SAVE_ANIMATION, ID_FILE_SAVE_BUTTON,
         ID_FILE_SAVE_AUDIO, 0, ID_APP_EXIT},
        {ID_TOOLS_TEST, ID_TOOLS_SHOW_PALETTE, 0, ID_TOOLS_CHECK},
        {ID_APP_ABOUT},
    };
    HMENU bar = GetMenu(builder->hwnd());
    ASSERT_EQ(GetMenuItemCount(bar), static_cast<int>(menus.size()));
    for (std::size_t m = 0; m < menus.size(); ++m) {
        HMENU popup = GetSubMenu(bar, static_cast<int>(m));
        std::vector<UINT> ids;  // a separator has id 0
        for (int i = 0; i < GetMenuItemCount(popup); ++i) ids.push_back(GetMenuItemID(popup, i));
        EXPECT_EQ(ids, menus[m]) << "menu " << m;
    }

    // The tab key skips disabled controls: enable them all to see the whole order.
    for (int id : kDependents) EnableWindow(Item(id), TRUE);
    const int order[] = {IDC_ANIMATION_FILE, IDC_BROWSE_ANIMATION, IDC_AUDIO_FILE,     IDC_BROWSE_AUDIO,
                         IDC_BUTTON_IMAGE_FILE, IDC_BROWSE_BUTTON_IMAGE, IDC_DISPLAYED_NAME, IDC_FRAME_WIDTH,
                         IDC_TRANSPARENT,    IDC_RED,              IDC_GREEN,          IDC_BLUE,
                         IDC_IMAGE_LOOP,     IDC_BACK_TO_FRAME,    IDC_IMAGE_REVERSE,  IDC_AUDIO_START_FRAME,
                         IDC_AUDIO_ONCE,     IDC_TEST,             IDC_PALETTE};
    for (std::size_t i = 1; i < std::size(order); ++i) {
        EXPECT_EQ(GetDlgCtrlID(GetNextDlgTabItem(builder->hwnd(), Item(order[i - 1]), FALSE)), order[i])
            << "after " << order[i - 1];
    }
}

// Every way unsaved work can be dropped asks first, and the answer decides
// whether the form is kept and whether the window ends.
TEST_F(BuilderWindow, UnsavedWorkIsDroppedOnlyAsTheAnswerSays) {
    GestureFields other;
    other.name = "Other";
    const std::string gesture = dir.Write("other.qxm", GestureFileBytes(other));
    const auto open = [&] { Open(gesture); };
    const auto close = [&] { SendMessageA(builder->hwnd(), WM_CLOSE, 0, 0); };
    struct Row {
        const char* trigger;
        std::function<void()> act;
        int answer;
        const char* nameAfter;  // nullptr: the window ended
        std::size_t messagesShown;
    };
    const Row rows[] = {
        {"New", [&] { Command(ID_FILE_NEW); }, IDCANCEL, "Wave", 1},
        {"New", [&] { Command(ID_FILE_NEW); }, IDNO, "", 1},
        // Untitled: Yes saves as, whose check of the form fails first.
        {"New", [&] { Command(ID_FILE_NEW); }, IDYES, "Wave", 2},
        {"Open", open, IDCANCEL, "Wave", 1},
        {"Open", open, IDNO, "Other", 1},
        {"Drop", [&] { Drop(gesture, {5, 5}); }, IDCANCEL, "Wave", 1},
        {"Drop", [&] { Drop(gesture, {5, 5}); }, IDNO, "Other", 1},
        {"Close", close, IDCANCEL, "Wave", 1},
        {"Close", close, IDNO, nullptr, 1},
        {"Escape", [&] { Command(IDCANCEL); }, IDCANCEL, "Wave", 1},
        {"Exit", [&] { Command(ID_APP_EXIT); }, IDCANCEL, "Wave", 1},
        {"Exit", [&] { Command(ID_APP_EXIT); }, IDNO, nullptr, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.trigger) + " answered " + std::to_string(row.answer));
        Recreate();
        Type(IDC_DISPLAYED_NAME, "Wave");
        messages.shown.clear();
        files.answers.clear();
        messages.Answer(row.answer);
        row.act();
        ASSERT_EQ(messages.shown.size(), row.messagesShown);
        EXPECT_EQ(messages.shown[0].text, "Save changes to gesture?");
        EXPECT_EQ(messages.shown[0].type, static_cast<UINT>(MB_YESNOCANCEL | MB_ICONEXCLAMATION));
        EXPECT_EQ(builder->Ended(), row.nameAfter == nullptr);
        if (row.nameAfter) {
            EXPECT_EQ(Text(IDC_DISPLAYED_NAME), row.nameAfter);
        }
    }
    // Nothing unsaved: nothing asked.
    Recreate();
    messages.shown.clear();
    close();
    EXPECT_TRUE(builder->Ended());
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(BuilderWindow, ExitRemovesTheTemporaryFilesAndItsDirectoryUnlessItHoldsSomethingElse) {
    namespace fs = std::filesystem;
    char base[MAX_PATH + 1] = "";
    GetTempPathA(sizeof base, base);
    std::string previous = builder->model.tempDirectory;
    for (bool stranger : {false, true}) {
        SCOPED_TRACE(stranger ? "with a stranger" : "alone");
        Recreate();
        const std::string temp = builder->model.tempDirectory;
        EXPECT_NE(temp, previous) << "each builder has its own";
        previous = temp;
        EXPECT_EQ(temp.rfind(base, 0), 0u) << temp << " is not inside " << base;
        for (const std::string& path : builder->model.TempFiles()) PutBack({path, Bytes{1, 2, 3}});
        if (stranger) PutBack({temp + "\\notes.txt", Bytes{1}});
        builder.reset();
        EXPECT_EQ(NamesIn(temp), stranger ? std::set<std::string>{"notes.txt"} : std::set<std::string>{});
        EXPECT_EQ(fs::exists(temp), stranger);
        fs::remove_all(temp);
    }
}

TEST_F(BuilderWindow, WithoutAPrivateTemporaryDirectoryOpenAndTestRefuseAndNothingElseIsUsed) {
    char saved[MAX_PATH + 1] = "";
    GetEnvironmentVariableA("TMP", saved, sizeof saved);
    // A temporary path under a file: no directory can be made there.
    const std::string blocker = builder->model.TempPath("blocker");
    PutBack({blocker, Bytes{1}});
    SetEnvironmentVariableA("TMP", blocker.c_str());
    Recreate();
    SetEnvironmentVariableA("TMP", saved);
    EXPECT_EQ(builder->model.tempDirectory, "");
    Command(ID_FILE_OPEN);
    Click(IDC_TEST);
    EXPECT_TRUE(files.asked.empty());
    ASSERT_EQ(messages.shown.size(), 3u);
    EXPECT_EQ(messages.shown[0].text.rfind("Can not create a temporary directory in " + blocker + "\n", 0), 0u)
        << messages.shown[0].text;
    EXPECT_NE(messages.shown[0].text.find("\nOpen and Test are not available."), std::string::npos);
    EXPECT_EQ(messages.shown[1].text, "Can not open a gesture.\nThere is no temporary directory to work in.");
    EXPECT_EQ(messages.shown[2].text, "Can not test the gesture.\nThere is no temporary directory to work in.");
    builder.reset();
    EXPECT_EQ(FileContents(blocker), Bytes{1});
    std::filesystem::remove_all(std::filesystem::path(blocker).parent_path());
}

POINT CentreOf(HWND control, HWND parent) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

TEST_F(BuilderWindow, BrowseAndDropFillTheFieldAndItsPathMember) {
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

// The About and Check Gesture boxes run modal until OK. Check Gesture reads
// the form as saving would, but writes nothing, not even the temporary
// gesture that Test plays.
TEST_F(BuilderWindow, AboutAndCheckGestureRunModalUntilOk) {
    FillWorkedExample();
    Type(IDC_DISPLAYED_NAME, "");
    builder->model.dirty = 0;
    std::string texts;
    for (auto [command, caption] : {std::pair<WPARAM, const char*>{ID_APP_ABOUT, "About QXM Builder"},
                                    {ID_TOOLS_CHECK, "Check Gesture"}}) {
        texts.clear();
        EXPECT_TRUE(AnswerModalBox(command, caption, [&](HWND box) -> WPARAM {
            for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
                texts += WindowText(child) + "|";
            }
            return IDOK;
        })) << caption;
    }
    // Check Gesture was given the form: the findings begin with its first problem.
    EXPECT_EQ(texts.rfind("error: Displayed name must be specified\r\n", 0), 0u) << texts;
    EXPECT_EQ(NamesIn(builder->model.tempDirectory), std::set<std::string>{});
    EXPECT_EQ(builder->model.dirty, 0);
}

TEST_F(BuilderWindow, ShortcutsReachTheirCommands) {
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
    EXPECT_FALSE(files.asked[0].save);
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
