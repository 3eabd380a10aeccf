#include <gtest/gtest.h>

#include <tuple>

#include "authoring/BuilderModel.h"

namespace qx {
namespace {

constexpr bool T = true, F = false;
constexpr FormEnabling kAllOff{}, kAllOn{T, T, T, T};

TEST(BuilderModel, EnablingAfterEachChange) {
    using enum FormChange;
    // The checks are transparent, loop, sound named; the enabling is colour,
    // back to frame, audio once, start frame.
    const std::tuple<const char*, FormChange, FormChecks, FormEnabling, FormEnabling> cases[] = {
        {"reset clears whatever was on", Reset, {T, T, T}, kAllOn, kAllOff},
        {"transparent off touches only the colour", Transparent, {F, T, T}, kAllOn, {F, T, T, T}},
        {"loop on with a sound", ImageLoop, {F, T, T}, kAllOff, {F, T, T, F}},
        {"loop on without a sound", ImageLoop, {F, T, F}, kAllOff, {F, T, F, F}},
        {"loop off takes audio once with it", ImageLoop, {T, F, T}, kAllOn, {T, F, F, T}},
        {"sound named, not looping", AudioFile, {F, F, T}, kAllOff, {F, F, F, T}},
        {"sound named while looping", AudioFile, {F, T, T}, {F, T, F, F}, {F, T, T, T}},
        {"sound emptied", AudioFile, {T, T, F}, kAllOn, {T, T, F, F}},
        {"opened with a sound, not looping: audio once still on", Opened, {F, F, T}, kAllOff, {F, F, T, F}},
        {"opened looping and transparent, no sound", Opened, {T, T, F}, kAllOff, {T, T, F, F}},
        {"opened keeps the start frame on", Opened, {F, F, F}, kAllOn, {F, F, F, T}},
    };
    for (const auto& [what, change, checks, before, after] : cases) {
        EXPECT_EQ(EnablingAfter(change, checks, before), after) << what;
    }
}

TEST(BuilderModel, ConfirmDiscardDecision) {
    // Unsaved changes, the answer, whether saving succeeds; discard, asked, saved.
    const std::tuple<const char*, int, SaveAnswer, bool, bool, int, int> cases[] = {
        {"nothing unsaved", 0, SaveAnswer::Cancel, false, true, 0, 0},
        {"Yes, saved", 1, SaveAnswer::Yes, true, true, 1, 1},
        {"Yes, save failed", 1, SaveAnswer::Yes, false, false, 1, 1},
        {"No", 1, SaveAnswer::No, false, true, 1, 0},
        {"Cancel", 1, SaveAnswer::Cancel, true, false, 1, 0},
    };
    for (const auto& [what, dirty, answer, saveSucceeds, discard, asked, saved] : cases) {
        BuilderModel model;
        model.dirty = dirty;
        int timesAsked = 0, timesSaved = 0;
        const bool discarded = model.ConfirmDiscard([&, answer = answer] { return ++timesAsked, answer; },
                                                    [&, ok = saveSucceeds] { return ++timesSaved, ok; });
        EXPECT_EQ(std::tuple(discarded, timesAsked, timesSaved), std::tuple(discard, asked, saved)) << what;
    }
}

}  // namespace
}  // namespace qx
