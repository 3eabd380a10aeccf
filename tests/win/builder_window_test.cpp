// The builder window: its start and New, its menu and tab order, the
// question asked before unsaved work is dropped, its private temporary
// directory, the commands that name files without opening a gesture (Browse
// and dropped files), the Check Gesture box, and file names in the system's
// code page.
#include "BuilderFixture_win.h"
#include "PaletteGestures_win.h"
#include "base/TextCase.h"
#include "palette/PaletteWindow_win.h"

#include <cstdlib>
#include <filesystem>
#include <map>
#include <tuple>

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
    // New keeps where the palette looks.
    builder->model.paletteDirectory = "c:\\g";
    messages.answers.push_back(IDNO);
    Command(ID_FILE_NEW);
    ExpectEmptyUntitledForm();
    EXPECT_EQ(builder->model.paletteDirectory, "c:\\g");
}

TEST_F(BuilderWindow, MenuAndTabKeyFollowTheFormsOrder) {
    // Each menu's item ids in order: a separator is 0, the end of a menu -1.
    std::vector<int> menus;
    HMENU bar = GetMenu(builder->hwnd());
    for (int m = 0; m < GetMenuItemCount(bar); ++m) {
        HMENU popup = GetSubMenu(bar, m);
        for (int i = 0; i < GetMenuItemCount(popup); ++i) menus.push_back(static_cast<int>(GetMenuItemID(popup, i)));
        menus.push_back(-1);
    }
    EXPECT_EQ(menus, (std::vector<int>{ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, ID_FILE_SAVE_AS, 0,
                                       ID_FILE_SAVE_ANIMATION, ID_FILE_SAVE_BUTTON, ID_FILE_SAVE_AUDIO, 0, ID_APP_EXIT,
                                       -1, ID_TOOLS_TEST, ID_TOOLS_SHOW_PALETTE, 0, ID_TOOLS_CHECK, -1,
                                       ID_APP_ABOUT, -1}));

    // The tab key skips disabled controls: enable them all to see the whole
    // order, which comes round to the first again.
    for (int id : kDependents) EnableWindow(Item(id), TRUE);
    std::vector<int> order{IDC_ANIMATION_FILE};
    while (order.size() < 20) {
        order.push_back(GetDlgCtrlID(GetNextDlgTabItem(builder->hwnd(), Item(order.back()), FALSE)));
    }
    EXPECT_EQ(order, (std::vector<int>{IDC_ANIMATION_FILE, IDC_BROWSE_ANIMATION, IDC_AUDIO_FILE, IDC_BROWSE_AUDIO,
                                       IDC_BUTTON_IMAGE_FILE, IDC_BROWSE_BUTTON_IMAGE, IDC_DISPLAYED_NAME,
                                       IDC_FRAME_WIDTH, IDC_TRANSPARENT, IDC_RED, IDC_GREEN, IDC_BLUE, IDC_IMAGE_LOOP,
                                       IDC_BACK_TO_FRAME, IDC_IMAGE_REVERSE, IDC_AUDIO_START_FRAME, IDC_AUDIO_ONCE,
                                       IDC_TEST, IDC_PALETTE, IDC_ANIMATION_FILE}));
}

// Every way unsaved work can be dropped asks first and keeps the form when
// the question is cancelled; Yes saves first, and No goes on with the command.
TEST_F(BuilderWindow, UnsavedWorkIsDroppedOnlyAsTheAnswerSays) {
    GestureFields other;
    other.name = "Other";
    const std::string gesture = dir.Write("other.qxm", GestureFileBytes(other));
    Type(IDC_DISPLAYED_NAME, "Wave");
    // Unscripted, the question is cancelled.
    for (const WPARAM command : {ID_FILE_NEW, ID_FILE_OPEN, IDCANCEL, ID_APP_EXIT}) Command(command);
    Drop(gesture, IDC_DISPLAYED_NAME);
    SendMessageA(builder->hwnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(messages.Texts(), std::vector<std::string>(6, "Save changes to gesture?"));
    EXPECT_TRUE(files.asked.empty());
    EXPECT_EQ(Text(IDC_DISPLAYED_NAME), "Wave");
    // Untitled, Yes saves as, whose check of the form fails first.
    messages.shown.clear();
    messages.answers.push_back(IDYES);
    Command(ID_FILE_NEW);
    EXPECT_EQ(messages.Texts(),
              (std::vector<std::string>{"Save changes to gesture?", "Frame width must be between 1 to 255"}));
    EXPECT_EQ(Text(IDC_DISPLAYED_NAME), "Wave");
    messages.answers.push_back(IDNO);
    Open(gesture);
    EXPECT_EQ(Text(IDC_DISPLAYED_NAME), "Other");
    // Nothing unsaved since: nothing asked.
    messages.shown.clear();
    SendMessageA(builder->hwnd(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(builder->Ended());
    EXPECT_TRUE(messages.shown.empty());
    // No to the question on Exit ends the builder.
    Recreate();
    Type(IDC_DISPLAYED_NAME, "Wave");
    messages.answers.push_back(IDNO);
    Command(ID_APP_EXIT);
    EXPECT_TRUE(builder->Ended());
}

// Each builder has a directory of its own inside the user's temporary
// directory, removed with its files when the builder ends unless something
// else was put there. Without one, Open and Test refuse and nothing else is
// used.
TEST_F(BuilderWindow, TemporaryDirectoryIsTheBuildersOwn) {
    namespace fs = std::filesystem;
    char base[MAX_PATH + 1] = "";
    GetTempPathA(sizeof base, base);
    std::string previous;
    for (bool stranger : {false, true}) {
        SCOPED_TRACE(stranger ? "with a stranger" : "alone");
        const std::string temp = builder->model.tempDirectory;
        EXPECT_NE(temp, previous) << "each builder has its own";
        previous = temp;
        EXPECT_EQ(temp.rfind(base, 0), 0u) << temp << " is not inside " << base;
        for (const std::string& path : builder->model.TempFiles()) PutBack({path, Bytes{1, 2, 3}});
        if (stranger) PutBack({temp + "\\notes.txt", Bytes{1}});
        Recreate();
        EXPECT_EQ(NamesIn(temp), stranger ? std::set<std::string>{"notes.txt"} : std::set<std::string>{});
        EXPECT_EQ(fs::exists(temp), stranger);
        fs::remove_all(temp);
    }

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
    EXPECT_EQ(messages.shown[2].text, "Can not test the gesture.\nThere is no temporary directory to work in.");
    builder.reset();
    EXPECT_EQ(FileContents(blocker), Bytes{1});
    fs::remove_all(fs::path(blocker).parent_path());
}

TEST_F(BuilderWindow, BrowseAndDropFillTheFieldAndItsPathMember) {
    struct Row {
        int button, edit;
        std::string BuilderModel::*member;
        const char* dropped;
    };
    const Row rows[] = {
        {IDC_BROWSE_AUDIO, IDC_AUDIO_FILE, &BuilderModel::audioFile, "c:\\s\\Hi.WAV"},
        {IDC_BROWSE_ANIMATION, IDC_ANIMATION_FILE, &BuilderModel::animationFile, "c:\\art\\Strip.GIF"},
        {IDC_BROWSE_BUTTON_IMAGE, IDC_BUTTON_IMAGE_FILE, &BuilderModel::buttonImageFile, "c:\\art\\b.gif"},
    };
    // (Each marks the form through the edit's own handler.)
    for (const Row& r : rows) {
        files.Choose("c:\\art\\picked");
        Click(r.button);
        EXPECT_EQ(builder->model.*(r.member), "c:\\art\\picked") << r.edit;
        Drop(r.dropped, r.edit);
        EXPECT_EQ(builder->model.*(r.member), r.dropped);
    }
    // A cancelled dialog changes nothing; a sound on the picture field, or a
    // picture elsewhere, is not taken.
    builder->model.dirty = 0;
    files.answers.push_back(std::nullopt);
    Click(IDC_BROWSE_ANIMATION);
    Drop("c:\\s\\x.wav", IDC_ANIMATION_FILE);
    Drop("c:\\art\\y.gif", IDC_DISPLAYED_NAME);
    EXPECT_EQ(builder->model.animationFile, "c:\\art\\Strip.GIF");
    EXPECT_EQ(Text(IDC_DISPLAYED_NAME), "");
    EXPECT_EQ(builder->model.dirty, 0);
    EXPECT_TRUE(messages.shown.empty());
}

// The Check Gesture box runs modal until OK. It reads the form as saving
// would, but writes nothing, not even the temporary gesture that Test plays.
TEST_F(BuilderWindow, CheckGestureRunsModalUntilOkAndWritesNothing) {
    FillWorkedExample();
    Type(IDC_DISPLAYED_NAME, "");
    builder->model.dirty = 0;
    std::string texts;
    EXPECT_TRUE(AnswerModalBox(ID_TOOLS_CHECK, "Check Gesture", [&](HWND box) -> WPARAM {
        for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            texts += WindowText(child) + "|";
        }
        return IDOK;
    }));
    // The findings begin with the form's first problem.
    EXPECT_EQ(texts.rfind("error: Displayed name must be specified\r\n", 0), 0u) << texts;
    EXPECT_EQ(NamesIn(builder->model.tempDirectory), std::set<std::string>{});
    EXPECT_EQ(builder->model.dirty, 0);
}

// File names in the system's code page: lower-casing, order, the palette's
// reading of such names and the caption after Open. These run in the
// default code page with the other window tests, and again under code pages
// 932 and 1251 (ctest gives Wine those locales).
const std::string kJapanese = "\x83\x41\x83\x43";  // two double-byte characters in 932
const std::string kCyrillic = "\xC0\xB2\xC4\xD9";  // four capitals in 1251, katakana in 932
const std::string kSingle = "\xB1";                 // one byte everywhere

// Every name is read back under its lower-cased form, in order, and Open
// captions the builder with the lowered name.
using SystemCodePage = BuilderTest;

TEST_F(SystemCodePage, NamesAreLoweredAndOrderedInTheSystemsCodePage) {
    if (const char* expected = std::getenv("QX_EXPECT_CODE_PAGE")) {
        ASSERT_EQ(GetACP(), static_cast<UINT>(std::atoi(expected))) << "the locale did not reach Wine";
    }
    // By code page: kJapanese and kCyrillic lower-cased, and the three names' gestures sorted.
    const std::map<UINT, std::tuple<std::string, std::string, std::vector<std::string>>> rules = {
        {1252, {"\x83\x61\x83\x63", "\xE0\xB2\xE4\xF9", {"J", "S", "C"}}},
        {932, {kJapanese, kCyrillic, {"S", "C", "J"}}},  // 0xB1 < 0xC0 < 0x8341
        {1251, {"\x83\x61\x83\x63", "\xE0\xB3\xE4\xF9", {"J", "S", "C"}}},
    };
    if (!rules.count(GetACP())) GTEST_SKIP() << "no rules for code page " << GetACP();
    const auto& [japanese, cyrillic, order] = rules.at(GetACP());
    EXPECT_EQ(LowerCase(kCyrillic), cyrillic);

    // The directory's own name is plain; the names in it are written by the
    // system's code page.
    TempDir dir;
    const auto path = [&](const std::string& name) { return dir.Path() + "\\" + name + ".QXM"; };
    for (const auto& [name, gesture] : {std::pair{kJapanese, "J"}, {kCyrillic, "C"}, {kSingle, "S"}}) {
        WriteFileBytes(path(name), PaletteGesture(gesture, SimpleButton(0xFF0000)));
    }
    PaletteWindow palette;
    palette.Refresh(dir.Path());
    ASSERT_EQ(palette.Create(nullptr, 10, 10, 0), 1);
    UpdateWindow(palette.hwnd());
    std::vector<std::string> shown;
    for (const PaletteEntry& entry : palette.catalogue().entries()) shown.push_back(entry.displayName);
    EXPECT_EQ(shown, order);

    files.Choose(path(kJapanese));
    Command(ID_FILE_OPEN);
    EXPECT_EQ(Caption(), japanese + ".qxm - Quixmoor Gesture");
}

}  // namespace
}  // namespace qx::test
