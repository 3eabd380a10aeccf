// The builder's commands that need no gesture file: Browse, About.
#include "BuilderFixture_win.h"

#include <commdlg.h>

namespace qx::test {
namespace {

using BuilderCommands = BuilderTest;

TEST_F(BuilderCommands, BrowseFillsTheEditAndItsPathMemberAndCancelChangesNothing) {
    struct Case {
        int button;
        int edit;
        const char* filter;
        const char* extension;
        std::string BuilderModel::*member;
    };
    const Case cases[] = {
        {1019, 1002, "WAVE files (*.wav)|*.wav||", ".wav", &BuilderModel::audioFile},
        {1018, 1001, "GIF files (*.gif)|*.gif||", ".gif", &BuilderModel::animationFile},
        {1022, 1021, "GIF files of size 20*20 (*.gif)|*.gif||", ".gif", &BuilderModel::buttonImageFile},
    };
    for (const Case& c : cases) {
        builder->model.dirty = 0;
        files.Choose("c:\\art\\picked");
        Click(c.button);
        ASSERT_FALSE(files.asked.empty());
        const FileDialogRequest& asked = files.asked.back();
        EXPECT_FALSE(asked.save);
        EXPECT_EQ(asked.filter, c.filter);
        EXPECT_EQ(asked.defaultExtension, c.extension);
        EXPECT_EQ(asked.flags, static_cast<DWORD>(OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST));
        EXPECT_EQ(Text(c.edit), "c:\\art\\picked");
        EXPECT_EQ(builder->model.*(c.member), "c:\\art\\picked");
        EXPECT_EQ(builder->model.dirty, 1);
    }
    // The audio edit went through its own handler: the start frame is enabled.
    EXPECT_TRUE(Enabled(1015));

    // Cancelling the dialog changes nothing.
    builder->model.dirty = 0;
    files.Cancel();
    Click(1018);
    EXPECT_EQ(files.asked.size(), 4u);
    EXPECT_EQ(Text(1001), "c:\\art\\picked");
    EXPECT_EQ(builder->model.animationFile, "c:\\art\\picked");
    EXPECT_EQ(builder->model.dirty, 0);
}

struct AboutSeen {
    bool found = false;
    std::string title, version, date;
    bool hasIcon = false;
};
AboutSeen aboutSeen;

void CALLBACK CloseAbout(HWND, UINT, UINT_PTR id, DWORD) {
    HWND about = FindWindowA("#32770", "About QXM Builder");
    if (!about) return;
    KillTimer(nullptr, id);
    aboutSeen.found = true;
    for (HWND child = GetWindow(about, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const std::string text = WindowText(child);
        if (text.find("Builder") != std::string::npos) aboutSeen.title = text;
        if (text.rfind("Version", 0) == 0) aboutSeen.version = text;
        if (text.rfind("Created", 0) == 0) aboutSeen.date = text;
        if (SendMessageA(child, STM_GETICON, 0, 0) != 0) aboutSeen.hasIcon = true;
    }
    SendMessageA(about, WM_COMMAND, IDOK, 0);
}

TEST_F(BuilderCommands, AboutShowsItsLinesAndClosesWithOk) {
    aboutSeen = {};
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, &CloseAbout);
    Command(ID_APP_ABOUT);  // returns once the box is closed
    KillTimer(nullptr, timer);
    EXPECT_TRUE(aboutSeen.found);
    EXPECT_EQ(aboutSeen.title, "Quixmoor Animation/Audio Gesture Builder");
    EXPECT_EQ(aboutSeen.version, "Version 1.0 Debug (32 bit)");
    EXPECT_EQ(aboutSeen.date, "Created on June 12, 1996 (1.0.0.0)");
    EXPECT_TRUE(aboutSeen.hasIcon);
    EXPECT_EQ(builder->model.dirty, 0);
}

}  // namespace
}  // namespace qx::test
