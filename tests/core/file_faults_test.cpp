// Replacing a file, and making a new one, with each file operation failing
// in turn: the target is old or whole, and nothing else is left.
#include <gtest/gtest.h>

#include "../support/FaultSweep.h"
#include "../support/TestFiles.h"
#include "base/ReplaceFile.h"

namespace qx::test {
namespace {

TEST(FileFaults, AReplacementIsOldOrWholeWhicheverOperationFails) {
    TempDir dir;
    const Bytes bytes(10000, 0x5A);
    const struct {
        const char* what;
        std::optional<Bytes> before;
        ReplaceResult (*write)(const std::string&, std::span<const std::uint8_t>);
    } cases[] = {
        {"replacing", Bytes{'o', 'l', 'd'}, ReplaceFileWhole},
        {"creating", std::nullopt, ReplaceFileWhole},
        {"a new file", std::nullopt, WriteNewFileWhole},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const int runs = SweepFileFaults({{dir.PathOf("target"), c.before}}, {dir.Path()}, [&] {
            return c.write(dir.PathOf("target"), bytes) == ReplaceResult::Replaced;
        });
        // Create, open, write, flush, close, and the move before and after.
        EXPECT_EQ(runs, 7);
    }
}

TEST(FileFaults, ANewFileNeverTakesATakenName) {
    TempDir dir;
    const std::string taken = dir.Write("taken", {1, 2});
    EXPECT_EQ(WriteNewFileWhole(taken, Bytes(5, 9)), ReplaceResult::CannotPlace);
    EXPECT_EQ(FileContents(taken), (Bytes{1, 2}));
    EXPECT_EQ(NamesIn(dir.Path()), std::set<std::string>{"taken"});
}

}  // namespace
}  // namespace qx::test
