// Runs a command once with each of its file operations failing in turn and
// checks what it leaves behind: each target holds its old bytes or its whole
// new bytes, and the directories hold no file they did not hold before but
// those targets.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "base/FaultPlan.h"

namespace qx::test {

// A file a command writes, and what it held before (nothing when absent).
struct SweptTarget {
    std::string path;
    std::optional<std::vector<std::uint8_t>> before;
};

inline std::optional<std::vector<std::uint8_t>> FileContents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::set<std::string> NamesIn(const std::string& directory) {
    std::set<std::string> names;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(directory, ec)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

inline void PutBack(const SweptTarget& t) {
    std::error_code ec;
    std::filesystem::remove(t.path, ec);
    if (!t.before) return;
    std::ofstream out(t.path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(t.before->data()), static_cast<std::streamsize>(t.before->size()));
}

// run() performs the command and says whether it reported success. It runs
// once as it is, which must succeed and gives each target's whole new
// bytes; then with file operation n failing, for n = 1, 2, ... until a run
// makes fewer than n of them, each time from the targets' old bytes. Each
// faulty run must leave every target old or whole (whole when it reported
// success; every one old, with allOrNothing, when it reported failure), and
// no new name in directories but the targets'. Gives the number of faulty
// runs.
inline int SweepFileFaults(const std::vector<SweptTarget>& targets, const std::vector<std::string>& directories,
                           const std::function<bool()>& run, bool allOrNothing = false) {
    for (const SweptTarget& t : targets) PutBack(t);
    if (!run()) {
        ADD_FAILURE() << "the command fails without a fault";
        return 0;
    }
    std::vector<std::optional<std::vector<std::uint8_t>>> after;
    for (const SweptTarget& t : targets) after.push_back(FileContents(t.path));
    std::set<std::string> targetNames;
    for (const SweptTarget& t : targets) targetNames.insert(std::filesystem::path(t.path).filename().string());

    for (std::uint64_t n = 1; n < 10000; ++n) {
        for (const SweptTarget& t : targets) PutBack(t);
        std::vector<std::set<std::string>> names;
        for (const std::string& d : directories) names.push_back(NamesIn(d));
        fault_plan::FailCall(n);
        const bool succeeded = run();
        const bool reached = fault_plan::Calls() >= n;
        fault_plan::FailCall(0);
        if (!reached) return static_cast<int>(n - 1);
        SCOPED_TRACE("file operation " + std::to_string(n) + " failing");
        for (std::size_t i = 0; i < targets.size(); ++i) {
            const auto now = FileContents(targets[i].path);
            if (succeeded) {
                EXPECT_EQ(now, after[i]) << targets[i].path << ": the command reported success";
            } else {
                EXPECT_TRUE(now == targets[i].before || (!allOrNothing && now == after[i]))
                    << targets[i].path << (allOrNothing ? " is not as it was" : " is neither old nor whole");
            }
        }
        for (std::size_t i = 0; i < directories.size(); ++i) {
            for (const std::string& name : NamesIn(directories[i])) {
                EXPECT_TRUE(names[i].count(name) || targetNames.count(name)) << name << " was left in " << directories[i];
            }
        }
    }
    ADD_FAILURE() << "the command never stopped reaching the failing call";
    return 0;
}

}  // namespace qx::test
