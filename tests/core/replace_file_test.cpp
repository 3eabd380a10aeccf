// Replacing a file only when complete: the target is the whole new file or
// exactly what it was, and nothing else is left in its directory, whichever
// file operation fails. Built for both platforms, so each body of the
// routine is run.
#include "base/ReplaceFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <tuple>

#include "../support/FaultSweep.h"
#include "base/FileIo.h"
#include "../support/TestFiles.h"

namespace qx::test {
namespace {

namespace fs = std::filesystem;
using Write = ReplaceResult (*)(const std::string&, std::span<const std::uint8_t>);

Bytes Counting(std::size_t size) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
    return bytes;
}

TEST(ReplaceFile, FailuresLeaveTheDirectoryAsItWasAndAnUnfinishedReplacementLeavesNothing) {
    TempDir dir;
    const Bytes old = Counting(77);
    dir.Write("keep.qxm", old);
    fs::create_directory(dir.PathOf("folder.qxm"));
    dir.Write("folder.qxm/inside", {5});
    const std::tuple<const char*, std::string, Write, ReplaceResult> cases[] = {
        {"no such directory", dir.PathOf("missing") + "/wave.qxm", ReplaceFileWhole, ReplaceResult::CannotCreate},
        {"the target is a directory", dir.PathOf("folder.qxm"), ReplaceFileWhole, ReplaceResult::CannotPlace},
        {"a new file onto a taken name", dir.PathOf("keep.qxm"), WriteNewFileWhole, ReplaceResult::CannotPlace},
    };
    const auto names = NamesIn(dir.Path());
    for (const auto& [what, target, write, result] : cases) {
        EXPECT_EQ(write(target, Counting(12)), result) << what;
        EXPECT_EQ(NamesIn(dir.Path()), names) << what;
    }
    EXPECT_EQ(NamesIn(dir.PathOf("folder.qxm")), std::set<std::string>{"inside"});
    EXPECT_EQ(FileContents(dir.PathOf("keep.qxm")), old);

    // A replacement not finished removes its new file and keeps the target; a
    // new target gets the permissions a file written in place would have (not
    // private to its owner); an existing one keeps its own.
    const std::string target = dir.Write("wave.qxm", {4, 4});
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const fs::perms before = fs::status(target).permissions();
    {
        FileReplacement replacement(target);
        ASSERT_TRUE(replacement.Started());
        EXPECT_EQ(NamesIn(dir.Path()).size(), names.size() + 2);  // the new file waits beside the target
    }
    EXPECT_EQ(NamesIn(dir.Path()).size(), names.size() + 1);
    EXPECT_EQ(FileContents(target), (Bytes{4, 4}));

    FileReplacement replacement(target);
    ASSERT_EQ(replacement.Finish(Bytes{8}), ReplaceResult::Replaced);
    EXPECT_EQ(replacement.Finish(Bytes{9}), ReplaceResult::CannotCreate);  // done once only
    EXPECT_EQ(FileContents(target), Bytes{8});
    EXPECT_EQ(fs::status(target).permissions(), before);

    const std::string plain = dir.Write("plain.gif", {1});
    ASSERT_EQ(ReplaceFileWhole(dir.PathOf("new.gif"), Counting(40)), ReplaceResult::Replaced);
    EXPECT_EQ(fs::status(dir.PathOf("new.gif")).permissions(), fs::status(plain).permissions());
}

// Whichever file operation fails, the target is old or whole and nothing else
// is left; with none failing it is the whole new contents, alone.
TEST(ReplaceFile, AReplacementIsOldOrWholeWhicheverOperationFails) {
    const Bytes bytes = Counting(10000);
    const std::tuple<const char*, std::optional<Bytes>, Write> cases[] = {
        {"replacing a longer file", Counting(30000), ReplaceFileWhole},
        {"creating", std::nullopt, ReplaceFileWhole},
        {"a new file", std::nullopt, WriteNewFileWhole},
    };
    for (const auto& [what, before, write] : cases) {
        SCOPED_TRACE(what);
        TempDir dir;
        const int runs = SweepFileFaults({{dir.PathOf("target"), before}}, {dir.Path()}, [&, write = write] {
            return write(dir.PathOf("target"), bytes) == ReplaceResult::Replaced;
        });
        // Create, open, write, flush, close, and the move before and after.
        EXPECT_EQ(runs, 7);
        EXPECT_EQ(FileContents(dir.PathOf("target")), bytes);
        EXPECT_EQ(NamesIn(dir.Path()), std::set<std::string>{"target"});
    }
}

// A whole-file read gives every byte or none: whichever of its file
// operations fails, nothing read so far is left behind; a file above the
// size given is not read.
TEST(ReadWholeFile, GivesEveryByteOrNone) {
    TempDir dir;
    const std::string path = dir.Write("wave.qxm", Counting(100));
    std::vector<std::uint8_t> bytes{1};
    EXPECT_EQ(ReadWholeFile(path, bytes, 99), FileReadStatus::TooLarge);
    EXPECT_TRUE(bytes.empty());
    ASSERT_EQ(ReadWholeFile(path, bytes, 100), FileReadStatus::Ok);
    EXPECT_EQ(bytes, Counting(100));
    for (std::uint64_t n = 1;; ++n) {
        fault_plan::FailCall(n);
        const FileReadStatus status = ReadWholeFile(path, bytes, 100);
        const bool reached = fault_plan::Calls() >= n;
        fault_plan::FailCall(0);
        if (!reached) break;
        EXPECT_NE(status, FileReadStatus::Ok) << "operation " << n;
        EXPECT_TRUE(bytes.empty()) << "operation " << n;
    }
}

}  // namespace
}  // namespace qx::test
