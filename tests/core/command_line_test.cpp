#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "authoring/CommandLine.h"

namespace qx {
namespace {

TEST(CommandLine, SplitsLikeTheWindowsRuntime) {
    const std::pair<const char*, std::vector<std::string>> cases[] = {
        {"\"C:\\Program Files\\qx\\qxbuilder.exe\" wave.qxm", {"C:\\Program Files\\qx\\qxbuilder.exe", "wave.qxm"}},
        {"q.exe  \"my gestures\\wave.qxm\"   -x", {"q.exe", "my gestures\\wave.qxm", "-x"}},
        {"q.exe c:\\dir\\", {"q.exe", "c:\\dir\\"}},
        {"q.exe a\\\\\\\"b", {"q.exe", "a\\\"b"}},
        {"q.exe \"a\\\\\" b", {"q.exe", "a\\", "b"}},
        {"q.exe \"\"", {"q.exe", ""}},
    };
    for (const auto& [line, arguments] : cases) EXPECT_EQ(SplitCommandLine(line), arguments) << line;

    // The first argument after the program's name that is no switch names the file.
    EXPECT_EQ(FileArgument({"q.exe", "-a", "/b"}), "");
    EXPECT_EQ(FileArgument({"q.exe", "-a", "wave.qxm", "bow.qxm"}), "wave.qxm");
    // The program name itself is never taken, even when it looks like a file.
    EXPECT_EQ(FileArgument({"wave.qxm"}), "");
}

}  // namespace
}  // namespace qx
