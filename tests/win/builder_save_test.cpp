// Saving: validation order and messages, the bytes written, Save and Save As,
// and a failed save never harming the file it was replacing.
#include "BuilderFixture_win.h"
#include "tests/support/GestureBytes.h"

#include <commdlg.h>

namespace qx::test {
namespace {

const std::vector<std::string> kUntitled = {"[Untitled] - Quixmoor Gesture"};

class BuilderSave : public BuilderTest {
protected:
    void SetUp() override {
        BuilderTest::SetUp();
        WriteFileBytes(dir.File("strip.gif"), Pattern(5000, 1));
        WriteFileBytes(dir.File("button.gif"), Pattern(300, 2));
        WriteFileBytes(dir.File("sound.wav"), Pattern(12000, 3));
    }
    // The worked example's form, whatever the boxes were before.
    void FillValidForm() {
        Type(1001, dir.File("strip.gif"));
        Type(1021, dir.File("button.gif"));
        Type(1002, dir.File("sound.wav"));
        Type(1004, "Wave");
        Type(1012, "40");
        SetChecked(1005, true);
        Type(1006, "255");
        Type(1007, "0");
        Type(1008, "255");
        SetChecked(1010, true);
        SetChecked(1011, false);
        SetChecked(1016, false);
        Type(1014, "2");
        Type(1015, "0");
    }
    bool Save(const std::string& path, bool ask = false) { return builder->SaveGesture(path, ask, false); }
    void ExpectSaved(const GestureFields& expected, const char* what) {
        ASSERT_TRUE(Save(dir.File("set.qxm"))) << what << ": " << LastText();
        EXPECT_EQ(ReadFileBytes(dir.File("set.qxm")), GestureFileBytes(expected)) << what;
    }
    std::string LastText() const { return messages.shown.empty() ? "" : messages.shown.back().text; }

    ScratchDirectory dir;
};

TEST_F(BuilderSave, WritesTheWorkedExampleByteForByteAndChangesNothingInTheForm) {
    FillValidForm();
    ASSERT_TRUE(Save(dir.File("wave.qxm")));
    EXPECT_TRUE(messages.shown.empty());
    const Bytes saved = ReadFileBytes(dir.File("wave.qxm"));
    EXPECT_EQ(saved.size(), 17365u);
    EXPECT_EQ(saved, GestureFileBytes(WorkedExample()));
    EXPECT_EQ(builder->model.dirty, 1);
    EXPECT_EQ(builder->model.filePath, "");
    EXPECT_EQ(Caption(), kUntitled[0]);
}

TEST_F(BuilderSave, ValidationMessagesInTheirOrder) {
    const std::string missing = dir.File("missing.gif");
    WriteFileBytes(dir.File("long.wav"), Bytes(30001, 1));
    const std::string width = "Frame width must be between 1 to 255";
    struct Case {
        std::vector<std::pair<int, std::string>> typed;
        std::string message;
    };
    const Case cases[] = {
        {{{1004, ""}}, "Displayed name must be specified"},
        {{{1004, ""}, {1001, missing}}, "Displayed name must be specified"},
        {{{1004, std::string(255, 'n')}}, "Displayed name must be shorter than 255 characters"},
        {{{1012, ""}}, width},
        {{{1012, "0"}}, width},
        {{{1012, "256"}}, width},
        {{{1012, "-5"}}, width},
        {{{1012, "ab"}}, width},
        {{{1001, missing}}, "Can not open image file: '" + missing + "'"},
        {{{1001, missing}, {1021, missing}}, "Can not open image file: '" + missing + "'"},
        {{{1021, missing}}, "Can not open palette button image file: '" + missing + "'"},
        {{{1002, missing}}, "Can not open audio file: '" + missing + "'"},
        {{{1002, dir.File("long.wav")}}, "The audio file size can not be greater than 30000 bytes"},
    };
    for (const Case& c : cases) {
        FillValidForm();
        for (const auto& [id, text] : c.typed) Type(id, text);
        messages.shown.clear();
        EXPECT_FALSE(Save(dir.File("out.qxm"))) << c.message;
        EXPECT_EQ(messages.Texts(), std::vector<std::string>{c.message}) << c.typed[0].second;
        EXPECT_FALSE(FileExists(dir.File("out.qxm"))) << c.message;
    }
    EXPECT_EQ(messages.shown[0].type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
}

TEST_F(BuilderSave, AcceptedEdgesOfTheLimits) {
    FillValidForm();
    WriteFileBytes(dir.File("full.wav"), Bytes(30000, 9));
    Type(1002, dir.File("full.wav"));
    Type(1004, std::string(254, 'n'));
    Type(1012, "12px");
    ASSERT_TRUE(Save(dir.File("edge.qxm"))) << LastText();
    const Bytes saved = ReadFileBytes(dir.File("edge.qxm"));
    ASSERT_EQ(saved.size(), 9u + 254 + 40 + 4 + 300 + 4 + 5000 + 4 + 30000);
    EXPECT_EQ(saved[8], 254);
    EXPECT_EQ(saved[9 + 254 + 4], 0);   // frame width high byte
    EXPECT_EQ(saved[9 + 254 + 5], 12);  // "12px" is 12
}

TEST_F(BuilderSave, SettingsAsStored) {
    FillValidForm();
    Click(1005);  // transparent off: the numbers stay in the edits
    Click(1010);  // loop off
    Click(1011);  // reverse on
    Type(1015, "3");
    Type(1002, "");
    GestureFields expected = WorkedExample();
    expected.flags = 0x02;
    expected.red = expected.blue = 0;
    expected.backToFrame = 0;
    expected.audio.reset();
    ExpectSaved(expected, "boxes clear, no sound");

    FillValidForm();
    Type(1006, "300");
    Type(1007, "-1");
    Type(1008, "256");
    Type(1014, "258");
    Type(1015, "7");
    Click(1016);
    expected = WorkedExample();
    expected.flags = 0x1D;
    expected.red = 44;
    expected.green = 255;
    expected.blue = 0;
    expected.audioStartFrame = 7;
    ExpectSaved(expected, "low eight bits");

    Type(1002, "");
    expected.flags = 0x05;
    expected.audioStartFrame = 0;
    expected.audio.reset();
    ExpectSaved(expected, "without sound neither audio flag nor the start frame");

    FillValidForm();
    SendMessageA(Item(1010), BM_SETCHECK, BST_INDETERMINATE, 0);
    ExpectSaved(WorkedExample(), "an indeterminate box counts as set");
}

TEST_F(BuilderSave, SaveOnUntitledActsAsSaveAs) {
    FillValidForm();
    files.Choose(dir.File("wave.qxm"));
    Command(ID_FILE_SAVE);
    ASSERT_EQ(files.asked.size(), 1u);
    EXPECT_TRUE(files.asked[0].save);
    EXPECT_EQ(files.asked[0].filter, "Quixmoor Gestures (*.qxm)|*.qxm||");
    EXPECT_EQ(files.asked[0].defaultExtension, ".qxm");
    EXPECT_EQ(files.asked[0].flags, static_cast<DWORD>(OFN_HIDEREADONLY | OFN_PATHMUSTEXIST));
    EXPECT_EQ(Caption(), "wave.qxm - Quixmoor Gesture");
    EXPECT_EQ(builder->model.filePath, dir.File("wave.qxm"));
    EXPECT_EQ(builder->model.untitled, 0);
    EXPECT_EQ(builder->model.dirty, 0);

    // A later Save writes there without a dialog and leaves the caption.
    Type(1012, "41");
    Command(ID_FILE_SAVE);
    EXPECT_EQ(files.asked.size(), 1u);
    EXPECT_EQ(builder->model.dirty, 0);
    EXPECT_EQ(ReadFileBytes(dir.File("wave.qxm"))[9 + 4 + 5], 41);
    EXPECT_EQ(Caption(), "wave.qxm - Quixmoor Gesture");
}

TEST_F(BuilderSave, SaveAsWithInvalidFormShowsTheMessageAndNoDialog) {
    FillValidForm();
    Type(1004, "");
    Command(ID_FILE_SAVE_AS);
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"Displayed name must be specified"});
    EXPECT_TRUE(files.asked.empty());
    EXPECT_EQ(builder->model.dirty, 1);
}

TEST_F(BuilderSave, SaveAsCancelledOrRefusedOntoAnExistingFileLeavesEverything) {
    FillValidForm();
    const Bytes old = {1, 2, 3};
    WriteFileBytes(dir.File("old.qxm"), old);
    files.Cancel();
    files.Choose(dir.File("old.qxm"));
    messages.Answer(IDNO);
    for (const char* what : {"cancelled", "replace refused"}) {
        EXPECT_FALSE(builder->FileSaveAs()) << what;
        EXPECT_EQ(ReadFileBytes(dir.File("old.qxm")), old) << what;
        EXPECT_EQ(builder->model.dirty, 1) << what;
        EXPECT_EQ(builder->model.untitled, 1) << what;
        EXPECT_EQ(builder->model.filePath, "") << what;
        EXPECT_EQ(Caption(), kUntitled[0]) << what;
    }
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "File '" + dir.File("old.qxm") + "' already exists.\nReplace existing file?");
    EXPECT_EQ(messages.shown[0].type, static_cast<UINT>(MB_YESNO | MB_ICONEXCLAMATION));

    files.Choose(dir.File("old.qxm"));
    messages.Answer(IDYES);
    EXPECT_TRUE(builder->FileSaveAs());
    EXPECT_EQ(ReadFileBytes(dir.File("old.qxm")).size(), 17365u);
}

TEST_F(BuilderSave, ConfirmDiscardYesSavesAndACancelledSaveAsRefuses) {
    FillValidForm();
    messages.Answer(IDYES);
    files.Cancel();
    Command(ID_FILE_NEW);
    EXPECT_EQ(Text(1004), "Wave");  // refused: the form stays

    messages.Answer(IDYES);
    files.Choose(dir.File("kept.qxm"));
    Command(ID_FILE_NEW);
    EXPECT_EQ(ReadFileBytes(dir.File("kept.qxm")).size(), 17365u);
    EXPECT_EQ(Text(1004), "");
    EXPECT_EQ(Caption(), kUntitled[0]);
}

TEST_F(BuilderSave, ExistingTargetSurvivesASectionThatCannotBeRead) {
    FillValidForm();
    const Bytes old = GestureFileBytes(GestureFields{});
    WriteFileBytes(dir.File("keep.qxm"), old);
    // A section path that is a directory opens on some systems but never reads.
    CreateDirectoryA(dir.File("folder.gif").c_str(), nullptr);
    Type(1001, dir.File("folder.gif"));
    EXPECT_FALSE(Save(dir.File("keep.qxm")));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(LastText().find(dir.File("folder.gif")), std::string::npos) << LastText();
    EXPECT_EQ(ReadFileBytes(dir.File("keep.qxm")), old);
    // Nothing half-written is left beside it.
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA(dir.File("*.tmp").c_str(), &found);
    EXPECT_EQ(find, INVALID_HANDLE_VALUE);
    if (find != INVALID_HANDLE_VALUE) FindClose(find);
    RemoveDirectoryA(dir.File("folder.gif").c_str());
}

TEST_F(BuilderSave, ReadOnlyTargetOrMissingDirectoryIsReportedAndKept) {
    FillValidForm();
    const Bytes old = {9, 9, 9};
    WriteFileBytes(dir.File("ro.qxm"), old);
    SetFileAttributesA(dir.File("ro.qxm").c_str(), FILE_ATTRIBUTE_READONLY);
    for (const std::string& target : {dir.File("ro.qxm"), dir.File("no-such-dir\\wave.qxm")}) {
        messages.shown.clear();
        EXPECT_FALSE(Save(target));
        EXPECT_EQ(messages.Texts(),
                  std::vector<std::string>{"Can not open output file: '" + target + "'\nCheck if file is read-only."});
    }
    EXPECT_EQ(ReadFileBytes(dir.File("ro.qxm")), old);
    SetFileAttributesA(dir.File("ro.qxm").c_str(), FILE_ATTRIBUTE_NORMAL);
}

// qxmtool pack, run as its own process, must write what the builder saves.
TEST_F(BuilderSave, PackWritesWhatSaveAsWrites) {
    FillValidForm();
    Type(1015, "3");
    SetChecked(1016, true);
    files.Choose(dir.File("saved.qxm"));
    Command(ID_FILE_SAVE_AS);
    ASSERT_TRUE(messages.shown.empty()) << LastText();
    const Bytes saved = ReadFileBytes(dir.File("saved.qxm"));
    ASSERT_EQ(saved.size(), 17365u);

    std::string command = "\"" + std::string(QX_TOOL_EXE) + "\" pack \"" + dir.File("packed.qxm") +
                          "\" --name Wave --image \"" + dir.File("strip.gif") + "\" --button \"" +
                          dir.File("button.gif") + "\" --audio \"" + dir.File("sound.wav") +
                          "\" --frame-width 40 --transparent 255,0,255 --loop 2 --audio-frame 3 --audio-once";
    for (char& c : command) {
        if (c == '/') c = '\\';  // the build's path to the tool is a Unix one, on drive Z:
    }
    if (command.compare(1, 1, "\\") == 0) command.insert(1, "Z:");
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                               nullptr, &startup, &process))
        << command;
    ASSERT_EQ(WaitForSingleObject(process.hProcess, 30000), WAIT_OBJECT_0);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(ReadFileBytes(dir.File("packed.qxm")), saved);
}

}  // namespace
}  // namespace qx::test
