// The builder window: start-up state, layout, closing and exit clean-up.
#include "BuilderFixture_win.h"

namespace qx::test {
namespace {

using BuilderWindow = BuilderTest;

TEST_F(BuilderWindow, StartsWithTheEmptyUntitledForm) {
    EXPECT_EQ(Caption(), "[Untitled] - Quixmoor Gesture");
    EXPECT_EQ(builder->model.untitled, 1);
    EXPECT_EQ(builder->model.dirty, 0);
    EXPECT_EQ(builder->model.loading, 0);
    EXPECT_EQ(builder->model.paletteDirectory, "c:\\temp");
    for (int id : {1001, 1002, 1021, 1004, 1012, 1006, 1007, 1008, 1014, 1015}) EXPECT_EQ(Text(id), "") << id;
    for (int id : {1006, 1007, 1008, 1014, 1015, 1016}) EXPECT_FALSE(Enabled(id)) << id;
    for (int id : {1001, 1002, 1021, 1004, 1012, 1005, 1010, 1011, 1013, 1020}) EXPECT_TRUE(Enabled(id)) << id;
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(files.asked.empty());
    EXPECT_FALSE(IsWindowVisible(Item(1017)));
    EXPECT_NE(builder->appIcon, nullptr);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(builder->hwnd(), WM_QUERYDRAGICON, 0, 0)), builder->appIcon);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(builder->hwnd(), WM_GETICON, ICON_BIG, 0)), builder->appIcon);
    // Nothing was named on the command line, so no Open is waiting.
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, builder->hwnd(), WM_COMMAND, WM_COMMAND, PM_NOREMOVE));
}

TEST_F(BuilderWindow, ControlsStandWhereTheTemplatePlacesThem) {
    struct Placement {
        int id;
        RECT units;  // x, y, width, height in dialog units
    };
    const Placement placements[] = {
        {1001, {75, 12, 183, 12}}, {1018, {262, 12, 33, 12}}, {1002, {75, 26, 183, 12}},
        {1019, {262, 26, 33, 12}}, {1021, {75, 40, 183, 12}}, {1022, {262, 40, 33, 12}},
        {1004, {75, 54, 183, 12}}, {1012, {101, 79, 23, 12}}, {1005, {7, 97, 74, 10}},
        {1006, {113, 96, 28, 12}}, {1007, {171, 96, 28, 12}}, {1008, {227, 96, 28, 12}},
        {1010, {7, 113, 53, 10}},  {1014, {113, 112, 40, 12}}, {1011, {7, 129, 86, 10}},
        {1015, {81, 161, 40, 14}}, {1016, {7, 177, 82, 10}},  {1013, {3, 204, 50, 14}},
        {1020, {61, 204, 50, 14}}, {1017, {397, 102, 24, 14}},
    };
    for (const auto& p : placements) {
        // The dialog manager scales position and size separately, so map them
        // separately too (MapDialogRect scales each of the four fields alone).
        RECT scaled = p.units;
        MapDialogRect(builder->hwnd(), &scaled);
        const RECT expected{scaled.left, scaled.top, scaled.left + scaled.right, scaled.top + scaled.bottom};
        RECT actual{};
        GetWindowRect(Item(p.id), &actual);
        MapWindowPoints(nullptr, builder->hwnd(), reinterpret_cast<POINT*>(&actual), 2);
        EXPECT_EQ((Rect{actual.left, actual.top, actual.right, actual.bottom}),
                  (Rect{expected.left, expected.top, expected.right, expected.bottom}))
            << p.id;
    }
    RECT client{};
    GetClientRect(builder->hwnd(), &client);
    RECT whole{0, 0, 504, 222};
    MapDialogRect(builder->hwnd(), &whole);
    EXPECT_EQ(client.right, whole.right);
    EXPECT_EQ(client.bottom, whole.bottom);
    // With the dialog font installed, 504x222 units are 756x361 pixels.
    EXPECT_EQ(whole.right, 756);
    EXPECT_EQ(whole.bottom, 361);
}

TEST_F(BuilderWindow, TabOrderFollowsTheForm) {
    // Disabled controls are skipped by the tab key; enable them all to see the order.
    for (int id : {1006, 1007, 1008, 1014, 1015, 1016}) EnableWindow(Item(id), TRUE);
    const int full[] = {1001, 1018, 1002, 1019, 1021, 1022, 1004, 1012, 1005, 1006, 1007,
                        1008, 1010, 1014, 1011, 1015, 1016, 1013, 1020};
    HWND at = Item(full[0]);
    for (std::size_t i = 1; i < std::size(full); ++i) {
        at = GetNextDlgTabItem(builder->hwnd(), at, FALSE);
        EXPECT_EQ(GetDlgCtrlID(at), full[i]) << "after " << full[i - 1];
    }
}

TEST_F(BuilderWindow, MenuHasEveryCommandInOrder) {
    HMENU bar = GetMenu(builder->hwnd());
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(GetMenuItemCount(bar), 3);
    const std::vector<std::vector<UINT>> items = {
        {32771, 32772, 32774, 32775, 0, 32780, 32781, 32783, 0, 57665},
        {32776, 32779, 0, ID_TOOLS_CHECK},
        {57664},
    };
    const char* titles[] = {"&File", "&Tools", "&Help"};
    for (int m = 0; m < 3; ++m) {
        char title[64] = "";
        GetMenuStringA(bar, m, title, sizeof title, MF_BYPOSITION);
        EXPECT_STREQ(title, titles[m]);
        HMENU popup = GetSubMenu(bar, m);
        ASSERT_EQ(GetMenuItemCount(popup), static_cast<int>(items[m].size()));
        for (std::size_t i = 0; i < items[m].size(); ++i) {
            const UINT id = GetMenuItemID(popup, static_cast<int>(i));
            if (items[m][i] == 0) {
                EXPECT_EQ(GetMenuState(popup, static_cast<UINT>(i), MF_BYPOSITION) & MF_SEPARATOR, MF_SEPARATOR);
            } else {
                EXPECT_EQ(id, items[m][i]);
                EXPECT_EQ(GetMenuState(popup, id, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED), 0u);
            }
        }
    }
}

TEST_F(BuilderWindow, StringsAreTheApplicationsOwn) {
    const std::pair<UINT, const char*> strings[] = {
        {57344, "QX Gestures Builder"},
        {32771, "Creates a new file"},
        {32780, "Save the animation image as a seperate file"},
        {32776, "Test the currebt gesture"},
        {57664, "About Gesture builder"},
    };
    for (const auto& [id, text] : strings) {
        char buffer[256] = "";
        LoadStringA(GetModuleHandleA(nullptr), id, buffer, sizeof buffer);
        EXPECT_STREQ(buffer, text) << id;
    }
    char none[16] = "";
    EXPECT_EQ(LoadStringA(GetModuleHandleA(nullptr), 32783, none, sizeof none), 0);
}

TEST_F(BuilderWindow, ClosingAsksOnlyAboutUnsavedChanges) {
    SendMessageA(builder->hwnd(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(builder->Ended());

    builder = std::make_unique<BuilderDialog>();
    ASSERT_NE(builder->CreateModeless(nullptr), nullptr);
    Type(1004, "Wave");
    for (WPARAM command : {WPARAM{IDCANCEL}, WPARAM{ID_APP_EXIT}}) {  // Escape, then File Exit
        messages.Answer(IDCANCEL);
        Command(command);
        EXPECT_FALSE(builder->Ended()) << command;
    }
    EXPECT_EQ(messages.Texts(), (std::vector<std::string>(2, "Save changes to gesture?")));
    EXPECT_EQ(messages.shown[0].caption, "QX Gestures Builder");
    EXPECT_EQ(messages.shown[0].type, static_cast<UINT>(MB_YESNOCANCEL | MB_ICONEXCLAMATION));
    EXPECT_EQ(Text(1004), "Wave");
    messages.Answer(IDNO);
    SendMessageA(builder->hwnd(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(builder->Ended());
}

TEST_F(BuilderWindow, ExitRemovesTheTemporaryFilesAndItsDirectoryUnlessItHoldsSomethingElse) {
    EXPECT_NE(BuilderDialog().model.tempDirectory, builder->model.tempDirectory) << "each builder has its own";
    const char* names[] = {"~tempqxm.gif", "~tempqxmb.gif", "~tempqxm.wav", "~tempqxm.qxm"};
    for (bool stranger : {false, true}) {
        SCOPED_TRACE(stranger ? "with a stranger" : "alone");
        builder = std::make_unique<BuilderDialog>();
        ASSERT_NE(builder->CreateModeless(nullptr), nullptr);
        const std::string dir = builder->model.tempDirectory;
        ASSERT_TRUE(FileExists(dir));
        char base[MAX_PATH + 1] = "";
        GetTempPathA(sizeof base, base);
        EXPECT_EQ(dir.rfind(base, 0), 0u) << dir << " is not inside " << base;
        for (const char* name : names) WriteFileBytes(builder->model.TempPath(name), {1, 2, 3});
        if (stranger) WriteFileBytes(dir + "\\notes.txt", {1});
        builder.reset();
        for (const char* name : names) EXPECT_FALSE(FileExists(dir + "\\" + name)) << name;
        EXPECT_EQ(FileExists(dir), stranger);
        EXPECT_EQ(FileExists(dir + "\\notes.txt"), stranger);
        DeleteFileA((dir + "\\notes.txt").c_str());
        RemoveDirectoryA(dir.c_str());
    }
}

TEST_F(BuilderWindow, WithoutAPrivateTemporaryDirectoryOpenAndTestRefuseAndNothingElseIsUsed) {
    char saved[MAX_PATH + 1] = "";
    GetEnvironmentVariableA("TMP", saved, sizeof saved);
    // A temporary path under a file: no directory can be made there.
    const std::string blocker = builder->model.TempPath("blocker");
    WriteFileBytes(blocker, {1});
    SetEnvironmentVariableA("TMP", blocker.c_str());
    builder = std::make_unique<BuilderDialog>();
    ASSERT_NE(builder->CreateModeless(nullptr), nullptr);
    SetEnvironmentVariableA("TMP", saved);
    EXPECT_EQ(builder->model.tempDirectory, "");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text.rfind("Can not create a temporary directory in " + blocker + "\n", 0), 0u)
        << messages.shown[0].text;
    EXPECT_NE(messages.shown[0].text.find("\nOpen and Test are not available."), std::string::npos);

    Command(ID_FILE_OPEN);
    Click(IDC_TEST);
    EXPECT_TRUE(files.asked.empty());
    ASSERT_EQ(messages.Texts(), (std::vector<std::string>{
                                    messages.shown[0].text,
                                    "Can not open a gesture.\nThere is no temporary directory to work in.",
                                    "Can not test the gesture.\nThere is no temporary directory to work in.",
                                }));
    builder.reset();
    EXPECT_TRUE(FileExists(blocker));
    DeleteFileA(blocker.c_str());
}

}  // namespace
}  // namespace qx::test
