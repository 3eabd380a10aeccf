// The builder's file commands with each of their file operations failing in
// turn: each reports its failure, leaves its target old or whole, and
// leaves no file of its own behind.
#include "BuilderFixture_win.h"
#include "support/FaultSweep.h"
#include "support/GifWriter.h"
#include "tests/support/GestureBytes.h"
#include "tests/support/TestFiles.h"

#include <cstdio>

namespace qx::test {
namespace {

const Bytes kOld = {'o', 'l', 'd'};

class BuilderFaults : public BuilderTest {
protected:
    // A form that saves: its sections' files need only open.
    void FillForm() {
        Type(IDC_ANIMATION_FILE, dir.Write("strip.gif", Pattern(5000, 1)));
        Type(IDC_BUTTON_IMAGE_FILE, dir.Write("button.gif", Pattern(300, 2)));
        Type(IDC_AUDIO_FILE, dir.Write("sound.wav", Pattern(3000, 3)));
        Type(IDC_DISPLAYED_NAME, "Wave");
        Type(IDC_FRAME_WIDTH, "32");
    }
    // Runs a command from a fresh script: true when it showed no message.
    template <class Command>
    bool Quietly(Command command, std::vector<int> answers = {}) {
        messages.shown.clear();
        messages.answers.assign(answers.begin(), answers.end());
        command();
        files.answers.clear();
        return messages.shown.empty();
    }
    // One sweep over a target in the test's directory (or over the given
    // targets and directories), which must have faulty runs to count.
    void Sweep(const char* name, const std::vector<SweptTarget>& targets, const std::function<bool()>& run,
               const std::vector<std::string>& directories = {}, bool allOrNothing = false) {
        const int runs =
            SweepFileFaults(targets, directories.empty() ? std::vector{dir.Path()} : directories, run, allOrNothing);
        EXPECT_GT(runs, 0) << name;
        RecordProperty(std::string("fault_runs_") + name, runs);
        std::printf("%s: %d runs with a failing file operation\n", name, runs);
    }

    TempDir dir;
};

TEST_F(BuilderFaults, SaveAndSaveAsLeaveTheTargetOldOrWhole) {
    FillForm();
    const std::string target = dir.PathOf("out.qxm");
    Sweep("save", {{target, kOld}}, [&] {
        bool saved = false;
        const bool quiet = Quietly([&] { saved = builder->SaveGesture(target, false, false); });
        EXPECT_EQ(saved, quiet) << "a failed save says why";
        return saved;
    });
    Sweep("save_as", {{target, kOld}}, [&] {
        bool saved = false;
        // The question whether to replace the file is the one message of a
        // save that succeeds.
        files.Choose(target);
        Quietly([&] { saved = builder->FileSaveAs(); }, {IDYES});
        const bool asked = !messages.shown.empty() && messages.shown[0].text.rfind("File '", 0) == 0;
        EXPECT_TRUE(asked || !saved) << "the existing file was replaced without the question";
        EXPECT_EQ(saved, messages.shown.size() == (asked ? 1u : 0u)) << "a failed save says why";
        return saved;
    });
}

TEST_F(BuilderFaults, OpenPutsBackEveryTemporaryFileOrReplacesThemAllAndExportKeepsItsTarget) {
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
    const std::string target = dir.PathOf("strip.gif");
    Sweep("export", {{target, kOld}}, [&] {
        files.Choose(target);
        return Quietly([&] { Command(ID_FILE_SAVE_ANIMATION); });
    });
}

TEST_F(BuilderFaults, PictureCopiesAppearWholeOrNotAtAll) {
    const std::string animation = CopyTestData("gif-encoders/gifsicle-anim-disposal2.gif", dir.Path());
    const std::string strip = dir.PathOf("gifsicle-anim-disposal2-strip.gif");
    // A picture that cannot be read is taken as chosen, with no offer and no message.
    Sweep("strip_offer", {{strip, std::nullopt}}, [&] {
        Type(IDC_ANIMATION_FILE, "");
        files.Choose(animation);
        Quietly([&] { Click(IDC_BROWSE_ANIMATION); }, {IDYES});
        const bool taken = Text(IDC_ANIMATION_FILE) == strip;
        EXPECT_TRUE(taken || Text(IDC_ANIMATION_FILE) == animation);
        return taken;
    });

    // A button the player shows, read too when the form's pictures are looked at.
    GifFrame button;
    button.width = button.height = 20;
    button.pixels.assign(400, 1);
    Type(IDC_BUTTON_IMAGE_FILE, dir.Write("button.gif", WriteGif({0, 0xE00000}, {button})));
    const std::string refused = CopyTestData("gif-encoders/magick-strip-4.gif", dir.Path());
    const std::string fixed = dir.PathOf("chosen.gif");
    Sweep("repair", {{fixed, kOld}}, [&] {
        Type(IDC_ANIMATION_FILE, refused);
        files.Choose(fixed);
        Quietly([&] { builder->RepairPictures(); });
        return Text(IDC_ANIMATION_FILE) == fixed;
    });
}

}  // namespace
}  // namespace qx::test
