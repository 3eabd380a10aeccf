// qxmtool's commands called in-process: pack's option rules, info's JSON
// text, and the writers
// with each of their file operations failing in turn: a failure is
// reported, and no output is ever partial or left behind half made.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "tests/support/FaultSweep.h"
#include "tests/support/TestFiles.h"
#include "gesture/GestureFormat.h"
#include "tools/DecodeCommand.h"
#include "tools/ExtractCommand.h"
#include "tools/InfoCommand.h"
#include "tools/PackCommand.h"
#include "tools/PictureCommands.h"

namespace qx::test {
namespace {

// Runs a command; gives its exit status and what it printed on standard
// output and on standard error.
std::tuple<int, std::string, std::string> RunTool(const tool::Command& command, std::vector<std::string> args) {
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const int status = command.run(argv);
    std::string out = testing::internal::GetCapturedStdout();
    return {status, out, testing::internal::GetCapturedStderr()};
}

// What each command refuses, with its exit status and message, leaving its
// target as it was; pack's options are refused before any file is read.
TEST(ToolRefusals, EachRefusalHasItsStatusAndMessage) {
    TempDir dir;
    const std::string out = dir.Write("out", {'o', 'l', 'd'});
    const std::string pictures = std::string(QX_TEST_DATA) + "/gif/";
    const auto pack = [&](std::vector<std::string> more) {
        std::vector<std::string> args = {out, "--name", "Wave", "--image", "s.gif", "--button", "b.gif"};
        args.insert(args.end(), more.begin(), more.end());
        return args;
    };
    const std::tuple<const tool::Command&, std::vector<std::string>, int, const char*> cases[] = {
        {tool::kExtractCommand, {out}, 2, "usage: qxmtool extract"},
        {tool::kRepairCommand, {out, out}, 2, "is the input itself"},
        {tool::kRepairCommand, {pictures + "button16.gif", out}, 1, "the player shows it as it is; nothing written"},
        {tool::kPackCommand, pack({"--frame-width", "wide"}), 2, "--frame-width: \"wide\" is not a number"},
        {tool::kPackCommand, pack({"--frame-width=32", "--transparent", "255,0"}), 2, "\"255,0\" is not R,G,B"},
        {tool::kPackCommand, pack({"--frame-width=32", "--transparent=0,0,256"}), 2, "\"0,0,256\" is not R,G,B"},
        {tool::kPackCommand, pack({"--frame-width=32", "--loop", "256"}), 2, "\"256\" is not a frame number"},
        {tool::kPackCommand, pack({"--frame-width=32", "--loop", "-1"}), 2, "\"-1\" is not a frame number"},
        // Frame 0 is a frame number.
        {tool::kPackCommand, pack({"--frame-width=32", "--loop", "0", "--audio-frame", "1"}), 2, "need --audio"},
        {tool::kPackCommand, pack({"--frame-width=32", "--reverse=1"}), 2, "--reverse takes no value"},
        {tool::kPackCommand, pack({"--frame-width"}), 2, "--frame-width needs a value"},
        {tool::kPackCommand, pack({"--colour", "1"}), 2, "unknown option --colour"},
        {tool::kPackCommand, pack({}), 2, "--frame-width is required"},
    };
    for (const auto& [command, args, status, message] : cases) {
        const auto [exitStatus, printed, errors] = RunTool(command, args);
        EXPECT_EQ(exitStatus, status) << message;
        EXPECT_NE((printed + errors).find(message), std::string::npos) << printed << errors;
        EXPECT_EQ(FileContents(out), (Bytes{'o', 'l', 'd'})) << message;
    }
}

// A name's bytes are Windows-1252 text: JSON gets them as Unicode, the 32
// characters the code page puts at 0x80 to 0x9F included.
TEST(ToolInfo, JsonGivesTheNameInUnicode) {
    TempDir dir;
    std::string name = "\"\\";
    for (int c = 0x80; c < 0xA0; ++c) name += static_cast<char>(c);
    const std::string file = dir.Write("name.qxm", WriteGestureFile({.name = name, .frameWidth = 1}, {}, {}, {}));
    const std::string said = std::get<1>(RunTool(tool::kInfoCommand, {"--json", file}));
    EXPECT_NE(said.find(R"("name": "\"\\\u20AC\u0081\u201A\u0192\u201E\u2026\u2020\u2021\u02C6\u2030\u0160\u2039\u0152)"
                        R"(\u008D\u017D\u008F\u0090\u2018\u2019\u201C\u201D\u2022\u2013\u2014\u02DC\u2122\u0161\u203A\u0153)"
                        R"(\u009D\u017E\u0178")"),
              std::string::npos)
        << said;
}

TEST(ToolFaults, EveryWriterReportsAFailureAndLeavesEachOutputOldOrWhole) {
    TempDir dir;
    const std::string samples = QX_SAMPLES_DIR;
    const std::string pictures = std::string(QX_TEST_DATA) + "/gif-encoders/";
    ASSERT_EQ(std::get<0>(RunTool(tool::kExtractCommand, {samples + "/wave.qxm", dir.PathOf("parts")})), 0);
    const std::string out = dir.PathOf("out");
    std::filesystem::create_directories(out);
    const Bytes old = {'o', 'l', 'd'};
    const auto parts = [&](const char* name) { return dir.PathOf("parts") + "/" + name; };

    const std::tuple<const char*, const tool::Command&, std::vector<std::string>, std::vector<SweptTarget>> cases[] = {
        {"extract", tool::kExtractCommand, {samples + "/wave.qxm", out},
         {{out + "/wave.gif", old}, {out + "/wave-button.gif", {}}, {out + "/wave.wav", {}}}},
        {"pack", tool::kPackCommand,
         {out + "/w.qxm", "--name", "Wave", "--image", parts("wave.gif"), "--button", parts("wave-button.gif"),
          "--audio", parts("wave.wav"), "--frame-width", "32"},
         {{out + "/w.qxm", old}}},
        {"repair", tool::kRepairCommand, {pictures + "magick-strip-4.gif", out + "/fixed.gif"},
         {{out + "/fixed.gif", old}}},
        {"decode", tool::kDecodeCommand, {parts("wave-button.gif"), out + "/button.bmp"},
         {{out + "/button.bmp", old}}},
    };
    for (const auto& [name, command, args, targets] : cases) {
        SCOPED_TRACE(name);
        const int runs = SweepFileFaults(targets, {out}, [&, &command = command, &args = args] {
            const auto [status, printed, errors] = RunTool(command, args);
            if (status != 0) {
                EXPECT_NE(errors, "") << "a failure without a message";
            }
            return status == 0;
        });
        EXPECT_GT(runs, 0);
    }
}

}  // namespace
}  // namespace qx::test
