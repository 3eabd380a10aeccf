// Gesture files in the builder window: Open fills the form from a file or
// refuses it and changes nothing, Save and Save As write the form, and the
// export commands copy the sections out; each of them with every one of its
// file operations failing in turn reports the failure, leaves its target old
// or whole and leaves no file of its own behind.
#include "BuilderFixture_win.h"
#include "tests/support/GifWriter.h"

#include <commdlg.h>

#include <filesystem>

namespace qx::test {
namespace {

const Bytes kOld = {'o', 'l', 'd'};

using BuilderFiles = BuilderFileTest;

TEST_F(BuilderFiles, OpenFillsTheFormAndSaveWritesTheFileAgain) {
    // Every setting on and distinct: saved at once, the file comes back byte for byte.
    GestureFields f = WorkedExample();
    f.flags = 0x1F;
    f.frameWidth = 255;
    f.green = 9;
    f.audioStartFrame = 4;
    const Bytes original = GestureFileBytes(f);
    const std::string path = dir.Write("Wave.QXM", original);
    Open(path);
    EXPECT_TRUE(messages.shown.empty()) << messages.shown[0].text;
    // The sections went to the temporary files, which the loading edits do
    // not replace; the save below writes them back.
    for (int id : {IDC_ANIMATION_FILE, IDC_BUTTON_IMAGE_FILE, IDC_AUDIO_FILE}) EXPECT_EQ(Text(id), "*** internal ***");
    for (int id : {IDC_RED, IDC_BACK_TO_FRAME, IDC_AUDIO_ONCE}) EXPECT_TRUE(Enabled(id)) << id;
    EXPECT_EQ(Caption(), "wave.qxm - Quixmoor Gesture");
    EXPECT_EQ(builder->model.paletteDirectory, dir.Path());
    EXPECT_EQ(builder->model.dirty, 0);
    ASSERT_TRUE(builder->FileSave());
    EXPECT_EQ(FileContents(path), original);

    // A file refused leaves the open gesture as it was.
    GestureFields alien = WorkedExample();
    alien.magic = "GIF8";
    const std::pair<std::string, std::string> refusals[] = {
        {dir.Write("alien.qxm", GestureFileBytes(alien)), "\nIs not a valid QX Gesture file."},
        {dir.Write("cut.qxm", Bytes(original.begin(), original.begin() + 400)),
         "\nIs damaged: the file ends before its last section, and can not be opened."},
    };
    for (const auto& [refused, tail] : refusals) {
        messages.shown.clear();
        Open(refused);
        EXPECT_EQ(messages.Texts(), std::vector<std::string>{refused + tail});
        EXPECT_EQ(Text(IDC_DISPLAYED_NAME), "Wave") << refused;
        EXPECT_EQ(Caption(), "wave.qxm - Quixmoor Gesture") << refused;
        EXPECT_EQ(FileContents(builder->model.animationFile), f.image) << refused;
    }
    messages.shown.clear();
    Open(dir.PathOf("gone.qxm"));
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"Can not open file \n" + dir.PathOf("gone.qxm")});

    // A temporary file that cannot be staged refuses the gesture by its section.
    const std::string image = builder->model.TempPath("~tempqxm.gif");
    std::filesystem::remove(image);
    std::filesystem::create_directory(image);
    messages.shown.clear();
    Open(path);
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"Can not open temporary file for image section\n" + image});
    EXPECT_EQ(Text(IDC_DISPLAYED_NAME), "Wave");
    std::filesystem::remove(image);

    // Typing into a section's edit now names a file of the author's.
    Type(IDC_BUTTON_IMAGE_FILE, dir.PathOf("mine.gif"));
    EXPECT_EQ(builder->model.buttonImageFile, dir.PathOf("mine.gif"));
    EXPECT_EQ(builder->model.dirty, 1);
}

TEST_F(BuilderFiles, SaveAsksForAPlaceOnceAndReplacesAFileOnlyWhenToldAndAble) {
    FillWorkedExample();
    // A grey box counts as checked.
    SendMessageA(Item(IDC_IMAGE_LOOP), BM_SETCHECK, BST_INDETERMINATE, 0);
    const std::string path = dir.Write("wave.qxm", {1, 2, 3});
    // Save on the untitled form saves as: the dialog cancelled, then the
    // existing file not to be replaced.
    files.answers.push_back(std::nullopt);
    files.Choose(path);
    messages.answers.push_back(IDNO);
    Command(ID_FILE_SAVE);
    Command(ID_FILE_SAVE);
    // The builder asks itself whether to replace a file, not the dialog.
    EXPECT_EQ(files.asked.at(1).flags, static_cast<DWORD>(OFN_HIDEREADONLY | OFN_PATHMUSTEXIST));
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"File '" + path + "' already exists.\nReplace existing file?"});
    // Told to replace a read-only file: reported, and the file kept.
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    files.Choose(path);
    messages.answers.push_back(IDYES);
    Command(ID_FILE_SAVE);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(messages.shown.back().text, "Can not open output file: '" + path + "'\nCheck if file is read-only.");
    EXPECT_EQ(FileContents(path), (Bytes{1, 2, 3}));
    EXPECT_EQ(Caption(), "[Untitled] - Quixmoor Gesture");

    files.Choose(path);
    messages.answers.push_back(IDYES);
    Command(ID_FILE_SAVE);
    EXPECT_EQ(FileContents(path), GestureFileBytes(WorkedExample()));
    EXPECT_EQ(Caption(), "wave.qxm - Quixmoor Gesture");
    EXPECT_EQ(builder->model.dirty, 0);
    // Titled, the form is saved in place without a question.
    Type(IDC_FRAME_WIDTH, "41");
    Command(ID_FILE_SAVE);
    EXPECT_EQ(files.asked.size(), 4u);
    EXPECT_EQ(FileContents(path).value().at(9 + 4 + 5), 41);
    EXPECT_EQ(builder->model.dirty, 0);
}

TEST_F(BuilderFiles, ExportCopiesTheOpenedSectionsButNeverOntoTheirSource) {
    GestureFields f = WorkedExample();
    f.audio.reset();
    f.flags = 0x05;
    Open(dir.Write("quiet.qxm", GestureFileBytes(f)));
    files.asked.clear();
    files.Choose(dir.PathOf("strip.gif"));
    Command(ID_FILE_SAVE_ANIMATION);
    files.Choose(dir.PathOf("button.gif"));
    Command(ID_FILE_SAVE_BUTTON);
    EXPECT_EQ(files.asked.at(1).flags, static_cast<DWORD>(OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST));
    EXPECT_EQ(FileContents(dir.PathOf("strip.gif")), f.image);
    EXPECT_EQ(FileContents(dir.PathOf("button.gif")), f.button);
    // The gesture had no sound.
    Command(ID_FILE_SAVE_AUDIO);
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"No Audio Data defined."});
    EXPECT_EQ(builder->model.dirty, 0);

    // Onto the source itself, under another spelling.
    Type(IDC_ANIMATION_FILE, dir.Write("real.gif", Pattern(10, 1)));
    files.Choose(dir.Path() + "\\.\\REAL.GIF");
    Command(ID_FILE_SAVE_ANIMATION);
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_NE(messages.shown[1].text.find("REAL.GIF"), std::string::npos);
    EXPECT_EQ(FileContents(dir.PathOf("real.gif")), Pattern(10, 1));
}

// Open puts back every temporary file or replaces them all; export and Save
// As keep their targets old or whole.
TEST_F(BuilderFiles, CommandsUnderFaultsLeaveEveryFileOldOrWhole) {
    const std::string path = dir.Write("wave.qxm", GestureFileBytes(WorkedExample()));
    Sweep(
        "open",
        {{builder->model.TempPath("~tempqxmb.gif"), Bytes{7, 7, 7}},
         {builder->model.TempPath("~tempqxm.gif"), Bytes{6, 6}},
         {builder->model.TempPath("~tempqxm.wav"), std::nullopt}},
        [&] {
            builder->model.filePath.clear();
            const bool quiet = Quietly([&] { builder->OpenGestureFile(path, "wave.qxm"); });
            EXPECT_EQ(builder->model.filePath == path, quiet) << "a failed open changes nothing";
            return quiet;
        },
        {builder->model.tempDirectory}, true);

    ASSERT_TRUE(Quietly([&] { builder->OpenGestureFile(path, "wave.qxm"); }));
    const std::string target = dir.PathOf("out.gif");
    Sweep("export", {{target, kOld}}, [&] {
        files.Choose(target);
        return Quietly([&] { Command(ID_FILE_SAVE_ANIMATION); });
    });
    Sweep("save_as", {{dir.PathOf("out.qxm"), kOld}}, [&] {
        bool saved = false;
        // The question whether to replace the file is the one message of a
        // save that succeeds.
        files.Choose(dir.PathOf("out.qxm"));
        Quietly([&] { saved = builder->FileSaveAs(); }, {IDYES});
        const bool asked = !messages.shown.empty() && messages.shown[0].text.rfind("File '", 0) == 0;
        EXPECT_TRUE(asked || !saved) << "the existing file was replaced without the question";
        EXPECT_EQ(saved, messages.shown.size() == (asked ? 1u : 0u)) << "a failed save says why";
        return saved;
    });
}

// Pictures the player would not show: a repaired copy or a strip offered
// when Browse sets the picture, and Check Gesture's repair. The author's own
// files are never written, and a copy appears whole or not at all.
TEST_F(BuilderFiles, BrowsedPictureThePlayerWouldNotShowIsOfferedAsACopy) {
    const std::string original = CopyTestData("gif-encoders/magick-strip-4.gif", dir.Path());
    const auto originalBytes = FileContents(original);
    files.Choose(original);
    messages.answers.push_back(IDYES);
    Click(IDC_BROWSE_ANIMATION);
    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(builder->model.animationFile, dir.PathOf("magick-strip-4-fixed.gif"));
    EXPECT_EQ(FileContents(original), originalBytes);
    // The copy is one the player shows.
    EXPECT_TRUE(builder->RepairablePictures().empty());

    // An animation becomes a strip only when the author agrees.
    messages.shown.clear();
    const std::string animation = CopyTestData("gif-encoders/gifsicle-anim-disposal2.gif", dir.Path());
    const std::string strip = dir.PathOf("gifsicle-anim-disposal2-strip.gif");
    files.Choose(animation);
    messages.answers.push_back(IDYES);
    Click(IDC_BROWSE_ANIMATION);
    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(std::tuple(Text(IDC_ANIMATION_FILE), Text(IDC_FRAME_WIDTH), Checked(IDC_TRANSPARENT), Enabled(IDC_RED)),
              std::tuple(strip, std::string("26"), true, true));

    messages.answers.push_back(IDNO);
    files.Choose(animation);
    Click(IDC_BROWSE_ANIMATION);
    EXPECT_EQ(Text(IDC_ANIMATION_FILE), animation);
    EXPECT_FALSE(std::filesystem::exists(dir.PathOf("gifsicle-anim-disposal2-strip-2.gif")));

    // With each file operation failing in turn, a strip that cannot be made
    // leaves the animation chosen, with no offer and no message.
    std::filesystem::remove(strip);
    Sweep("strip_offer", {{strip, std::nullopt}}, [&] {
        Type(IDC_ANIMATION_FILE, "");
        files.Choose(animation);
        Quietly([&] { Click(IDC_BROWSE_ANIMATION); }, {IDYES});
        const bool taken = Text(IDC_ANIMATION_FILE) == strip;
        EXPECT_TRUE(taken || Text(IDC_ANIMATION_FILE) == animation);
        return taken;
    });
}

TEST_F(BuilderFiles, CheckGestureRepairsTheFormsPicturesWhereTheAuthorChooses) {
    const std::string button = CopyTestData("gif-encoders/pillow-button-4.gif", dir.Path());
    const auto buttonBytes = FileContents(button);
    Type(IDC_BUTTON_IMAGE_FILE, button);
    builder->model.dirty = 0;
    files.Choose(dir.PathOf("mended.gif"));
    for (bool repairable : {true, false}) {
        bool repairEnabled = false;
        EXPECT_TRUE(AnswerModalBox(ID_TOOLS_CHECK, "Check Gesture", [&](HWND box) -> WPARAM {
            repairEnabled = IsWindowEnabled(GetDlgItem(box, IDC_CHECK_REPAIR)) != FALSE;
            return repairEnabled ? IDC_CHECK_REPAIR : IDOK;
        }));
        EXPECT_EQ(repairEnabled, repairable);
    }
    ASSERT_EQ(files.asked.size(), 1u);
    EXPECT_EQ(files.asked[0].fileName, "pillow-button-4-fixed.gif");
    EXPECT_EQ(builder->model.buttonImageFile, dir.PathOf("mended.gif"));
    EXPECT_EQ(builder->model.dirty, 1);
    EXPECT_EQ(FileContents(button), buttonBytes);
    EXPECT_TRUE(messages.shown.empty());

    // The repaired copy, with each file operation failing in turn, is written
    // whole or not taken. (A player's button alongside, read too.)
    GifFrame player;
    player.width = player.height = 20;
    player.pixels.assign(400, 1);
    Type(IDC_BUTTON_IMAGE_FILE, dir.Write("button.gif", WriteGif({0, 0xE00000}, {player})));
    const std::string refused = CopyTestData("gif-encoders/magick-strip-4.gif", dir.Path());
    const std::string fixed = dir.PathOf("chosen.gif");
    Sweep("repair", {{fixed, Bytes{1, 2, 3}}}, [&] {
        Type(IDC_ANIMATION_FILE, refused);
        files.Choose(fixed);
        Quietly([&] { builder->RepairPictures(); });
        return Text(IDC_ANIMATION_FILE) == fixed;
    });
}

}  // namespace
}  // namespace qx::test
