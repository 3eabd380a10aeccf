// The builder's file commands with each of their file operations failing in
// turn: each reports its failure, leaves its target old or whole, and
// leaves no file of its own behind.
#include "PlaybackFixture_win.h"
#include "tests/support/GestureBytes.h"
#include "support/FaultSweep.h"

#include <cstdio>

namespace qx::test {
namespace {

class BuilderFaults : public PlaybackBuilderTest {
protected:
    // Runs a command from a fresh script: true when it showed no message.
    template <class Command>
    bool Quietly(Command command, std::vector<int> answers = {}) {
        messages.shown.clear();
        messages.answers.assign(answers.begin(), answers.end());
        command();
        files.answers.clear();
        return messages.shown.empty();
    }
    void Report(const char* sweep, int runs) {
        EXPECT_GT(runs, 0) << sweep;
        RecordProperty(std::string("fault_runs_") + sweep, runs);
        std::printf("%s: %d runs with a failing file operation\n", sweep, runs);
    }
    std::string CopyCorpusFile(const std::string& name) {
        std::string source = std::string("Z:") + QX_TEST_DATA + "/gif-encoders/" + name;
        for (char& c : source) {
            if (c == '/') c = '\\';
        }
        WriteFileBytes(dir.File(name), ReadFileBytes(source));
        return dir.File(name);
    }
};

TEST_F(BuilderFaults, SaveAndSaveAsLeaveTheTargetOldOrWhole) {
    FillForm({.strip = {4, 32, 32}, .withSound = true});
    const std::string target = dir.File("out.qxm");
    const Bytes old = {'o', 'l', 'd'};
    Report("save", SweepFileFaults({{target, old}}, {dir.path()}, [&] {
        bool saved = false;
        const bool quiet = Quietly([&] { saved = builder->SaveGesture(target, false, false); });
        EXPECT_EQ(saved, quiet) << "a failed save says why";
        return saved;
    }));
    Report("save_as", SweepFileFaults({{target, old}}, {dir.path()}, [&] {
        bool saved = false;
        // The question whether to replace the file is the one message of a
        // save that succeeds.
        Quietly(
            [&] {
                files.Choose(target);
                saved = builder->FileSaveAs();
            },
            {IDYES});
        const bool asked = !messages.shown.empty() && messages.shown[0].text.rfind("File '", 0) == 0;
        EXPECT_TRUE(asked || !saved) << "the existing file was replaced without the question";
        EXPECT_EQ(saved, messages.shown.size() == (asked ? 1u : 0u)) << "a failed save says why";
        return saved;
    }));
}

TEST_F(BuilderFaults, OpenPutsBackEveryTemporaryFileOrReplacesThemAll) {
    GestureFields f = WorkedExample();
    const std::string path = dir.File("wave.qxm");
    WriteFileBytes(path, GestureFileBytes(f));
    const std::vector<SweptTarget> sections = {
        {builder->model.TempPath("~tempqxmb.gif"), Bytes{7, 7, 7}},
        {builder->model.TempPath("~tempqxm.gif"), Bytes{6, 6}},
        {builder->model.TempPath("~tempqxm.wav"), std::nullopt},
    };
    Report("open", SweepFileFaults(
                       sections, {builder->model.tempDirectory},
                       [&] {
                           builder->model.filePath.clear();
                           const bool quiet = Quietly([&] { builder->OpenGestureFile(path, "wave.qxm"); });
                           EXPECT_EQ(builder->model.filePath == path, quiet) << "a failed open changes nothing";
                           return quiet;
                       },
                       true));
}

TEST_F(BuilderFaults, ExportLeavesTheTargetOldOrWhole) {
    WriteFileBytes(dir.File("wave.qxm"), GestureFileBytes(WorkedExample()));
    ASSERT_TRUE(Quietly([&] { builder->OpenGestureFile(dir.File("wave.qxm"), "wave.qxm"); }));
    const std::string target = dir.File("strip.gif");
    Report("export", SweepFileFaults({{target, Bytes{'o', 'l', 'd'}}}, {dir.path()}, [&] {
        return Quietly([&] {
            files.Choose(target);
            Command(ID_FILE_SAVE_ANIMATION);
        });
    }));
}

TEST_F(BuilderFaults, PictureCopiesAppearWholeOrNotAtAll) {
    const std::string animation = CopyCorpusFile("gifsicle-anim-disposal2.gif");
    const std::string strip = dir.File("gifsicle-anim-disposal2-strip.gif");
    // A picture that cannot be read is left to the specified flow: no offer,
    // no message, the picture taken as chosen.
    Report("strip_offer", SweepFileFaults({{strip, std::nullopt}}, {dir.path()}, [&] {
        Type(IDC_ANIMATION_FILE, "");
        Quietly(
            [&] {
                files.Choose(animation);
                Click(IDC_BROWSE_ANIMATION);
            },
            {IDYES});
        const bool taken = Text(IDC_ANIMATION_FILE) == strip;
        EXPECT_TRUE(taken || Text(IDC_ANIMATION_FILE) == animation);
        return taken;
    }));

    FillForm({.strip = {4, 32, 32}});
    Type(IDC_ANIMATION_FILE, CopyCorpusFile("magick-strip-4.gif"));
    const std::string fixed = dir.File("chosen.gif");
    Report("repair", SweepFileFaults({{fixed, Bytes{'o', 'l', 'd'}}}, {dir.path()}, [&] {
        Type(IDC_ANIMATION_FILE, dir.File("magick-strip-4.gif"));
        Quietly([&] {
            files.Choose(fixed);
            builder->RepairPictures();
        });
        return Text(IDC_ANIMATION_FILE) == fixed;
    }));
}

}  // namespace
}  // namespace qx::test
