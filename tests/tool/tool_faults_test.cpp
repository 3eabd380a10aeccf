// qxmtool's commands called in-process: pack's option rules, and the writers
// with each of their file operations failing in turn: a failure is
// reported, and no output is ever partial or left behind half made.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "support/FaultSweep.h"
#include "support/TestFiles.h"
#include "tools/DecodeCommand.h"
#include "tools/ExtractCommand.h"
#include "tools/PackCommand.h"
#include "tools/PictureCommands.h"

namespace qx::test {
namespace {

int RunTool(const tool::Command& command, std::vector<std::string> args) {
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    return command.run(argv);
}

// Refused before anything is read or written: the usage status and a
// message naming the option; the target is left as it was.
TEST(ToolOptions, PackRefusesOptionsItCannotRead) {
    TempDir dir;
    const std::string out = dir.Write("out.qxm", {'o', 'l', 'd'});
    const std::vector<std::string> named = {out, "--name", "Wave", "--image", "s.gif", "--button", "b.gif"};
    const struct {
        std::vector<std::string> more;
        const char* said;
    } cases[] = {
        {{"--frame-width", "wide"}, "--frame-width: \"wide\" is not a number"},
        {{"--frame-width=32", "--transparent", "255,0"}, "--transparent: \"255,0\" is not R,G,B"},
        {{"--frame-width=32", "--transparent=0,0,256"}, "--transparent: \"0,0,256\" is not R,G,B"},
        {{"--frame-width=32", "--loop", "256"}, "--loop: \"256\" is not a frame number"},
        {{"--frame-width=32", "--audio-frame", "1"}, "--audio-frame and --audio-once need --audio"},
        {{"--frame-width=32", "--reverse=1"}, "--reverse takes no value"},
        {{"--frame-width"}, "--frame-width needs a value"},
        {{"--colour", "1"}, "unknown option --colour"},
        {{}, "--frame-width is required"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = named;
        args.insert(args.end(), c.more.begin(), c.more.end());
        testing::internal::CaptureStderr();
        EXPECT_EQ(RunTool(tool::kPackCommand, args), 2) << c.said;
        EXPECT_NE(testing::internal::GetCapturedStderr().find(c.said), std::string::npos) << c.said;
        EXPECT_EQ(FileContents(out), (Bytes{'o', 'l', 'd'})) << c.said;
    }
}

TEST(ToolFaults, EveryWriterReportsAFailureAndLeavesEachOutputOldOrWhole) {
    TempDir dir;
    const std::string samples = QX_SAMPLES_DIR;
    const std::string pictures = std::string(QX_TEST_DATA) + "/gif-encoders/";
    ASSERT_EQ(RunTool(tool::kExtractCommand, {samples + "/wave.qxm", dir.PathOf("parts")}), 0);
    const std::string out = dir.PathOf("out");
    std::filesystem::create_directories(out);
    const Bytes old = {'o', 'l', 'd'};
    const auto parts = [&](const char* name) { return dir.PathOf("parts") + "/" + name; };

    struct Case {
        const char* name;
        const tool::Command& command;
        std::vector<std::string> args;
        std::vector<SweptTarget> targets;
    };
    const Case cases[] = {
        {"extract", tool::kExtractCommand, {samples + "/wave.qxm", out},
         {{out + "/wave.gif", old}, {out + "/wave-button.gif", {}}, {out + "/wave.wav", {}}}},
        {"pack", tool::kPackCommand,
         {out + "/w.qxm", "--name", "Wave", "--image", parts("wave.gif"), "--button", parts("wave-button.gif"),
          "--audio", parts("wave.wav"), "--frame-width", "32"},
         {{out + "/w.qxm", old}}},
        {"repair", tool::kRepairCommand, {pictures + "magick-strip-4.gif", out + "/fixed.gif"},
         {{out + "/fixed.gif", old}}},
        {"strip", tool::kStripCommand, {pictures + "gifsicle-anim-disposal2.gif", out + "/strip.gif"},
         {{out + "/strip.gif", {}}}},
        {"decode", tool::kDecodeCommand, {parts("wave-button.gif"), out + "/button.bmp"},
         {{out + "/button.bmp", old}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int runs = SweepFileFaults(c.targets, {out}, [&] {
            testing::internal::CaptureStderr();
            const int status = RunTool(c.command, c.args);
            const std::string said = testing::internal::GetCapturedStderr();
            if (status != 0) EXPECT_NE(said, "") << "a failure without a message";
            return status == 0;
        });
        EXPECT_GT(runs, 0);
        RecordProperty(std::string("fault_runs_") + c.name, runs);
        std::printf("%s: %d runs with a failing file operation\n", c.name, runs);
    }
}

}  // namespace
}  // namespace qx::test
