// qxmtool's writers, called in-process, with each of their file operations
// failing in turn: a failure is reported, and no output is ever partial or
// left behind half made.
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
