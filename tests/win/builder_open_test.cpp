// Opening a gesture for editing, and exporting its embedded files.
#include "BuilderFixture_win.h"
#include "tests/support/GestureBytes.h"

#include <commdlg.h>

namespace qx::test {
namespace {

class BuilderOpen : public BuilderTest {
protected:
    std::string Put(const std::string& name, const Bytes& bytes) {
        WriteFileBytes(dir.File(name), bytes);
        return dir.File(name);
    }
    void OpenThroughDialog(const std::string& path) {
        files.Choose(path);
        Command(ID_FILE_OPEN);
    }

    ScratchDirectory dir;
};

TEST_F(BuilderOpen, FillsTheFormFromTheFile) {
    const std::string path = Put("Wave.QXM", GestureFileBytes(WorkedExample()));
    OpenThroughDialog(path);
    EXPECT_TRUE(messages.shown.empty()) << messages.shown[0].text;
    ASSERT_EQ(files.asked.size(), 1u);
    EXPECT_FALSE(files.asked[0].save);
    EXPECT_EQ(files.asked[0].filter, "Quixmoor Gestures (*.qxm)|*.qxm||");
    EXPECT_EQ(files.asked[0].defaultExtension, ".qxm");
    EXPECT_EQ(files.asked[0].flags, static_cast<DWORD>(OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY));

    for (int id : {1001, 1021, 1002}) EXPECT_EQ(Text(id), "*** internal ***") << id;
    EXPECT_EQ(builder->model.animationFile, builder->model.TempPath("~tempqxm.gif"));
    EXPECT_EQ(builder->model.buttonImageFile, builder->model.TempPath("~tempqxmb.gif"));
    EXPECT_EQ(builder->model.audioFile, builder->model.TempPath("~tempqxm.wav"));
    EXPECT_EQ(ReadFileBytes(builder->model.animationFile), Pattern(5000, 1));
    EXPECT_EQ(ReadFileBytes(builder->model.buttonImageFile), Pattern(300, 2));
    EXPECT_EQ(ReadFileBytes(builder->model.audioFile), Pattern(12000, 3));

    for (auto [id, text] : {std::pair{1004, "Wave"}, {1012, "40"}, {1006, "255"}, {1007, "0"}, {1008, "255"},
                            {1014, "2"}, {1015, "0"}}) {
        EXPECT_EQ(Text(id), text) << id;
    }
    for (auto [id, on] : {std::pair{1005, true}, {1010, true}, {1011, false}, {1016, false}}) {
        EXPECT_EQ(Checked(id), on) << id;
    }
    for (int id : {1006, 1007, 1008, 1014, 1016}) EXPECT_TRUE(Enabled(id)) << id;

    EXPECT_EQ(Caption(), "wave.qxm - Quixmoor Gesture");
    EXPECT_EQ(builder->model.filePath, path);
    EXPECT_EQ(builder->model.paletteDirectory, dir.path());
    EXPECT_EQ(builder->model.untitled, 0);
    EXPECT_EQ(builder->model.dirty, 0);

    // Closing right after the open asks nothing.
    SendMessageA(builder->hwnd(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(builder->Ended());
}

TEST_F(BuilderOpen, SavingRightAfterOpeningReproducesTheFile) {
    GestureFields f = WorkedExample();
    f.flags = 0x1F;  // everything on: what the builder itself writes
    f.frameWidth = 255;
    f.audioStartFrame = 4;
    const Bytes original = GestureFileBytes(f);
    OpenThroughDialog(Put("loop.qxm", original));
    ASSERT_TRUE(messages.shown.empty());
    ASSERT_TRUE(builder->FileSave());
    EXPECT_EQ(ReadFileBytes(dir.File("loop.qxm")), original);
}

TEST_F(BuilderOpen, RefusesWhatIsNotAGestureAndWhatIsNewerOpensWhatIsOlder) {
    struct Case {
        const char* magic;
        const char* version;
        const char* tail;  // nullptr: opens
    };
    const Case cases[] = {
        {"QXMX", "0100", "\nIs not a valid QX Gesture file."},
        {"GIF8", "9a\0\0", "\nIs not a valid QX Gesture file."},
        {"QXMG", "0101", "\nwas built using a newer version of QXM-Builder, and can not be opened"},
        {"QXMG", "0200", "\nwas built using a newer version of QXM-Builder, and can not be opened"},
        {"QXMG", "0099", nullptr},
        {"QXMG", "01\0\0", nullptr},
    };
    for (const Case& c : cases) {
        GestureFields f = WorkedExample();
        f.magic = std::string(c.magic, 4);
        f.version = std::string(c.version, 4);
        const std::string path = Put("some.qxm", GestureFileBytes(f));
        messages.shown.clear();
        OpenThroughDialog(path);
        SCOPED_TRACE(std::string(c.magic, 4) + std::string(c.version, 4));
        if (!c.tail) {
            EXPECT_TRUE(messages.shown.empty());
            EXPECT_EQ(Caption(), "some.qxm - Quixmoor Gesture");
            continue;
        }
        EXPECT_EQ(messages.Texts(), std::vector<std::string>{path + c.tail});
        EXPECT_EQ(Caption(), "[Untitled] - Quixmoor Gesture");
        EXPECT_EQ(builder->model.animationFile, "");
        EXPECT_FALSE(FileExists(builder->model.TempPath("~tempqxm.gif")));
        // The directory is taken even from a refused file.
        EXPECT_EQ(builder->model.paletteDirectory, dir.path());
    }
}

TEST_F(BuilderOpen, AFileTooLargeForAGestureIsIdentifiedFirstAndNeverRead) {
    // Sparse files: their sizes cost no disk, and a read of them would
    // take minutes and gigabytes.
    const auto sparse = [&](const std::string& name, const Bytes& head, LONGLONG size) {
        const std::string path = Put(name, head);
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        LARGE_INTEGER at{};
        at.QuadPart = size;
        EXPECT_TRUE(SetFilePointerEx(file, at, nullptr, FILE_BEGIN) && SetEndOfFile(file));
        CloseHandle(file);
        return path;
    };
    // Identification, the longest name, the settings, three sections of 2^31 - 1 bytes.
    const LONGLONG largest = 8 + 1 + 255 + 40 + 3 * (4 + 0x7FFFFFFFLL);
    GestureFields f = WorkedExample();
    const Bytes gesture = GestureFileBytes(f);
    f.magic = "GIF8";
    const struct {
        std::string path;
        const char* tail;
    } cases[] = {
        {sparse("huge.gif", GestureFileBytes(f), 8LL << 30), "\nIs not a valid QX Gesture file."},
        {sparse("huge.qxm", gesture, largest + 1),
         "\nIs damaged: the file ends before its last section, and can not be opened."},
        {sparse("largest.qxm", gesture, largest), nullptr},  // what follows the sections is not read
    };
    for (const auto& c : cases) {
        messages.shown.clear();
        OpenThroughDialog(c.path);
        if (!c.tail) {
            EXPECT_TRUE(messages.shown.empty());
            EXPECT_EQ(builder->model.filePath, c.path);
            continue;
        }
        EXPECT_EQ(messages.Texts(), std::vector<std::string>{c.path + c.tail});
        EXPECT_EQ(builder->model.animationFile, "");
    }
}

TEST_F(BuilderOpen, GestureWithoutSoundOrTransparencyOrLoop) {
    // A stale audio file from an earlier open must not be taken for this one's.
    WriteFileBytes(builder->model.TempPath("~tempqxm.wav"), {1});
    DeleteFileA(builder->model.TempPath("~tempqxm.wav").c_str());
    GestureFields f;
    f.flags = 0;
    OpenThroughDialog(Put("quiet.qxm", GestureFileBytes(f)));
    ASSERT_TRUE(messages.shown.empty());
    EXPECT_EQ(builder->model.audioFile, "");
    EXPECT_EQ(Text(1002), "");
    EXPECT_FALSE(Checked(1016));
    EXPECT_FALSE(Enabled(1016));
    EXPECT_FALSE(FileExists(builder->model.TempPath("~tempqxm.wav")));
    for (int id : {1006, 1007, 1008}) {
        EXPECT_EQ(Text(id), "0") << id;
        EXPECT_FALSE(Enabled(id)) << id;
    }
    EXPECT_FALSE(Enabled(1014));
    EXPECT_EQ(builder->model.dirty, 0);
}

TEST_F(BuilderOpen, DamagedFilesAreRefusedAndChangeNothing) {
    OpenThroughDialog(Put("good.qxm", GestureFileBytes(WorkedExample())));
    ASSERT_TRUE(messages.shown.empty());
    const Bytes sectionBefore = ReadFileBytes(builder->model.animationFile);

    GestureFields other = WorkedExample();
    other.name = "Other";
    other.button = Pattern(300, 7);
    const Bytes otherBytes = GestureFileBytes(other);
    // Cut inside the name, the settings, each section; then a length past the end.
    std::vector<Bytes> damaged;
    for (std::size_t cut : {std::size_t{3}, std::size_t{11}, std::size_t{30}, std::size_t{60},
                            std::size_t{400}, std::size_t{6000}, otherBytes.size() - 1}) {
        damaged.emplace_back(otherBytes.begin(), otherBytes.begin() + static_cast<long>(cut));
    }
    damaged.push_back(otherBytes);
    damaged.back()[9 + 5 + 40] = 0x7F;  // palette button length far past the end
    for (const Bytes& bytes : damaged) {
        SCOPED_TRACE(bytes.size());
        const std::string path = Put("damaged.qxm", bytes);
        messages.shown.clear();
        OpenThroughDialog(path);
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].text.rfind(path + "\n", 0), 0u) << messages.shown[0].text;
        EXPECT_EQ(Text(1004), "Wave");
        EXPECT_EQ(Caption(), "good.qxm - Quixmoor Gesture");
        EXPECT_EQ(builder->model.filePath, dir.File("good.qxm"));
        EXPECT_EQ(ReadFileBytes(builder->model.animationFile), sectionBefore);
        EXPECT_EQ(ReadFileBytes(builder->model.buttonImageFile), Pattern(300, 2));
    }
}

TEST_F(BuilderOpen, ATemporaryFileThatCannotBeReplacedLeavesTheOthersAsTheyWere) {
    const Bytes button = {7, 7, 7};
    WriteFileBytes(builder->model.TempPath("~tempqxmb.gif"), button);
    // The animation's temporary file is a directory that cannot be moved aside.
    const std::string blocked = builder->model.TempPath("~tempqxm.gif");
    for (const std::string& d : {blocked, blocked + ".old"}) {
        CreateDirectoryA(d.c_str(), nullptr);
        WriteFileBytes(d + "\\keep", {1});
    }
    OpenThroughDialog(Put("w.qxm", GestureFileBytes(WorkedExample())));
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"Can not open temporary file for image section\n" + blocked});
    EXPECT_EQ(ReadFileBytes(builder->model.TempPath("~tempqxmb.gif")), button);
    for (const char* leftover : {"~tempqxmb.gif.new", "~tempqxmb.gif.old", "~tempqxm.gif.new", "~tempqxm.wav.new"}) {
        EXPECT_FALSE(FileExists(builder->model.TempPath(leftover))) << leftover;
    }
    EXPECT_EQ(Caption(), "[Untitled] - Quixmoor Gesture");
    EXPECT_EQ(builder->model.animationFile, "");
    for (const std::string& d : {blocked, blocked + ".old"}) {
        DeleteFileA((d + "\\keep").c_str());
        RemoveDirectoryA(d.c_str());
    }
}

TEST_F(BuilderOpen, ASectionThatCannotTakeItsPlacePutsBackThoseBeforeIt) {
    const Bytes button = {7, 7, 7}, image = {6, 6};
    WriteFileBytes(builder->model.TempPath("~tempqxmb.gif"), button);
    WriteFileBytes(builder->model.TempPath("~tempqxm.gif"), image);
    // Readable, so kept, but held open without sharing its deletion: the
    // button's file is replaced first, then the animation's cannot be.
    HANDLE held = CreateFileA(builder->model.TempPath("~tempqxm.gif").c_str(), GENERIC_READ, FILE_SHARE_READ,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    OpenThroughDialog(Put("w.qxm", GestureFileBytes(WorkedExample())));
    CloseHandle(held);
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"Can not open temporary file for image section\n" +
                                                         builder->model.TempPath("~tempqxm.gif")});
    EXPECT_EQ(ReadFileBytes(builder->model.TempPath("~tempqxmb.gif")), button);
    EXPECT_EQ(ReadFileBytes(builder->model.TempPath("~tempqxm.gif")), image);
    EXPECT_FALSE(FileExists(builder->model.TempPath("~tempqxm.wav")));
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA(builder->model.TempPath("*.tmp").c_str(), &found);
    EXPECT_EQ(find, INVALID_HANDLE_VALUE) << found.cFileName;
    if (find != INVALID_HANDLE_VALUE) FindClose(find);
    EXPECT_EQ(builder->model.animationFile, "");
}

TEST_F(BuilderOpen, CancelledOrMissingChangesNothing) {
    Type(1004, "Unsaved");
    messages.Answer(IDCANCEL);  // unsaved changes are asked about before the dialog
    Command(ID_FILE_OPEN);
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"Save changes to gesture?"});
    EXPECT_TRUE(files.asked.empty());
    messages.Answer(IDNO);
    files.Cancel();
    Command(ID_FILE_OPEN);
    EXPECT_EQ(files.asked.size(), 1u);
    messages.shown.clear();
    messages.Answer(IDNO);
    OpenThroughDialog(dir.File("gone.qxm"));
    EXPECT_EQ(messages.Texts(),
              (std::vector<std::string>{"Save changes to gesture?", "Can not open file \n" + dir.File("gone.qxm")}));
    EXPECT_EQ(Text(1004), "Unsaved");
    EXPECT_EQ(builder->model.paletteDirectory, "c:\\temp");
    EXPECT_EQ(Caption(), "[Untitled] - Quixmoor Gesture");
}

TEST_F(BuilderOpen, TypingIntoAFileEditAfterOpenReplacesItsMember) {
    OpenThroughDialog(Put("w.qxm", GestureFileBytes(WorkedExample())));
    Type(1021, dir.File("mine.gif"));
    EXPECT_EQ(builder->model.buttonImageFile, dir.File("mine.gif"));
    EXPECT_EQ(builder->model.animationFile, builder->model.TempPath("~tempqxm.gif"));
    EXPECT_EQ(builder->model.dirty, 1);
}

class BuilderOpenFromCommandLine : public BuilderOpen {
protected:
    void BeforeCreate() override {
        path = Put("Start.qxm", GestureFileBytes(WorkedExample()));
        builder->model.commandLineFile = path;
    }
    std::string path;
};

TEST_F(BuilderOpenFromCommandLine, OpensWithoutADialogOnceOnly) {
    Pump(100);  // the posted Open arrives
    EXPECT_TRUE(files.asked.empty());
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(Caption(), "start.qxm - Quixmoor Gesture");
    EXPECT_EQ(builder->model.commandLineFile, "");
    EXPECT_EQ(builder->model.filePath, path);

    files.Cancel();
    Command(ID_FILE_OPEN);
    EXPECT_EQ(files.asked.size(), 1u);
}

using SectionExport = BuilderOpen;

TEST_F(SectionExport, AfterNewEachExportReportsItsMissingSection) {
    const std::pair<WPARAM, const char*> commands[] = {
        {ID_FILE_SAVE_ANIMATION, "No Animation Image defined."},
        {ID_FILE_SAVE_BUTTON, "No Palette Button Image defined."},
        {ID_FILE_SAVE_AUDIO, "No Audio Data defined."},
    };
    for (const auto& [command, message] : commands) {
        messages.shown.clear();
        Command(command);
        EXPECT_EQ(messages.Texts(), std::vector<std::string>{message});
    }
    EXPECT_TRUE(files.asked.empty());
}

TEST_F(SectionExport, ExportsTheOpenedSectionsByteForByte) {
    GestureFields f = WorkedExample();
    f.audio.reset();
    f.flags = 0x05;
    OpenThroughDialog(Put("quiet.qxm", GestureFileBytes(f)));
    files.asked.clear();

    files.Choose(dir.File("strip.gif"));
    Command(ID_FILE_SAVE_ANIMATION);
    ASSERT_EQ(files.asked.size(), 1u);
    EXPECT_TRUE(files.asked[0].save);
    EXPECT_EQ(files.asked[0].filter, "gif file (*.gif)|*.gif||");
    EXPECT_EQ(files.asked[0].defaultExtension, ".gif");
    EXPECT_EQ(files.asked[0].flags, static_cast<DWORD>(OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST));
    EXPECT_EQ(ReadFileBytes(dir.File("strip.gif")), f.image);

    files.Choose(dir.File("button.gif"));
    Command(ID_FILE_SAVE_BUTTON);
    EXPECT_EQ(ReadFileBytes(dir.File("button.gif")), f.button);

    Command(ID_FILE_SAVE_AUDIO);
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"No Audio Data defined."});
    EXPECT_EQ(files.asked.size(), 2u);
    EXPECT_EQ(builder->model.dirty, 0);  // export changes nothing in the builder
    EXPECT_EQ(Caption(), "quiet.qxm - Quixmoor Gesture");

    // A zero-length sound file exports as one.
    Type(1002, Put("empty.wav", {}));
    files.Choose(dir.File("copy.wav"));
    Command(ID_FILE_SAVE_AUDIO);
    ASSERT_EQ(files.asked.size(), 3u);
    EXPECT_EQ(files.asked[2].filter, "wav file (*.wav)|*.wav||");
    EXPECT_EQ(files.asked[2].defaultExtension, ".wav");
    EXPECT_TRUE(FileExists(dir.File("copy.wav")));
    EXPECT_TRUE(ReadFileBytes(dir.File("copy.wav")).empty());
    EXPECT_EQ(messages.shown.size(), 1u);
}

TEST_F(SectionExport, FailuresNameTheirFilesAndTheSourceItselfIsRefused) {
    Type(1001, dir.File("absent.gif"));
    files.Choose(dir.File("out.gif"));
    Command(ID_FILE_SAVE_ANIMATION);
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"Error: Can not open input file " + dir.File("absent.gif")});
    EXPECT_FALSE(FileExists(dir.File("out.gif")));

    Type(1001, Put("real.gif", Pattern(10, 1)));
    const std::string target = dir.File("no-such-dir\\out.gif");
    files.Choose(target);
    messages.shown.clear();
    Command(ID_FILE_SAVE_ANIMATION);
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"Error: Can not open output file " + target});

    files.Cancel();
    messages.shown.clear();
    Command(ID_FILE_SAVE_ANIMATION);
    EXPECT_TRUE(messages.shown.empty());

    // Onto the source itself, under another spelling: refused, the source kept.
    files.Choose(dir.path() + "\\.\\REAL.GIF");
    Command(ID_FILE_SAVE_ANIMATION);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text.find("REAL.GIF"), std::string::npos);
    EXPECT_EQ(ReadFileBytes(dir.File("real.gif")), Pattern(10, 1));
}

}  // namespace
}  // namespace qx::test
