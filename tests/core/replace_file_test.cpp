// Replacing a file only when complete: the target is the whole new file or
// exactly what it was, and nothing else is left in its directory. Built for
// both platforms, so each body of the routine is run.
#include "base/ReplaceFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "../support/TestFiles.h"

namespace qx::test {
namespace {

namespace fs = std::filesystem;

Bytes ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::set<std::string> Names(const std::string& directory) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(directory)) names.insert(entry.path().filename().string());
    return names;
}

Bytes Counting(std::size_t size) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
    return bytes;
}

TEST(ReplaceFile, TheTargetBecomesTheWholeNewContentsAndNothingElseIsLeft) {
    const struct {
        const char* what;
        Bytes old;
        Bytes replacement;
    } cases[] = {
        {"longer", Counting(10), Counting(300000)},
        {"shorter", Counting(5000), {0x51}},
        {"emptied", Counting(64), {}},
        {"from empty", {}, Counting(3)},
    };
    for (const auto& c : cases) {
        TempDir dir;
        const std::string target = dir.Write("wave.qxm", c.old);
        EXPECT_EQ(ReplaceFileWhole(target, c.replacement), ReplaceResult::Replaced) << c.what;
        EXPECT_EQ(ReadBytes(target), c.replacement) << c.what;
        EXPECT_EQ(Names(dir.Path()), std::set<std::string>{"wave.qxm"}) << c.what;
    }
}

TEST(ReplaceFile, CreatesATargetThatDidNotExistWithTheUsualPermissions) {
    TempDir dir;
    const std::string made = dir.Write("plain.gif", {1});
    const std::string target = dir.PathOf("new.gif");
    ASSERT_EQ(ReplaceFileWhole(target, Counting(40)), ReplaceResult::Replaced);
    EXPECT_EQ(ReadBytes(target), Counting(40));
    // As a file written in place would have been, not private to its owner.
    EXPECT_EQ(fs::status(target).permissions(), fs::status(made).permissions());
    EXPECT_EQ(Names(dir.Path()), (std::set<std::string>{"new.gif", "plain.gif"}));
}

TEST(ReplaceFile, AnExistingTargetKeepsItsPermissions) {
    TempDir dir;
    const std::string target = dir.Write("shared.qxm", {1, 2});
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const fs::perms before = fs::status(target).permissions();
    ASSERT_EQ(ReplaceFileWhole(target, Counting(9)), ReplaceResult::Replaced);
    EXPECT_EQ(fs::status(target).permissions(), before);
}

TEST(ReplaceFile, FailuresLeaveTheDirectoryAsItWas) {
    TempDir dir;
    const Bytes old = Counting(77);
    dir.Write("keep.qxm", old);
    fs::create_directory(dir.PathOf("folder.qxm"));
    dir.Write("folder.qxm/inside", {5});
    const struct {
        const char* what;
        std::string target;
        ReplaceResult result;
    } cases[] = {
        {"no such directory", dir.PathOf("missing") + "/wave.qxm", ReplaceResult::CannotCreate},
        {"the target is a directory", dir.PathOf("folder.qxm"), ReplaceResult::CannotPlace},
    };
    const auto names = Names(dir.Path());
    for (const auto& c : cases) {
        EXPECT_EQ(ReplaceFileWhole(c.target, Counting(12)), c.result) << c.what;
        EXPECT_EQ(Names(dir.Path()), names) << c.what;
    }
    EXPECT_FALSE(fs::exists(dir.PathOf("missing")));
    EXPECT_EQ(Names(dir.PathOf("folder.qxm")), std::set<std::string>{"inside"});
    EXPECT_EQ(ReadBytes(dir.PathOf("keep.qxm")), old);
}

TEST(ReplaceFile, AReplacementNotFinishedRemovesItsNewFileAndKeepsTheTarget) {
    TempDir dir;
    const std::string target = dir.Write("wave.qxm", {4, 4});
    {
        FileReplacement replacement(target);
        ASSERT_TRUE(replacement.Started());
        EXPECT_EQ(Names(dir.Path()).size(), 2u);  // the new file waits beside the target
    }
    EXPECT_EQ(Names(dir.Path()), std::set<std::string>{"wave.qxm"});
    EXPECT_EQ(ReadBytes(target), (Bytes{4, 4}));

    FileReplacement replacement(target);
    ASSERT_EQ(replacement.Finish(Bytes{8}), ReplaceResult::Replaced);
    EXPECT_EQ(replacement.Finish(Bytes{9}), ReplaceResult::CannotCreate);  // done once only
    EXPECT_EQ(ReadBytes(target), Bytes{8});
}

}  // namespace
}  // namespace qx::test
