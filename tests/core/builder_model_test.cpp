#include <gtest/gtest.h>

#include <tuple>

#include "authoring/BuilderModel.h"

namespace qx {
namespace {

constexpr FormEnabling kAllOff{};
constexpr FormEnabling kAllOn{true, true, true, true};

TEST(BuilderModel, EnablingAfterEachChange) {
    using C = FormChange;
    struct Case {
        const char* what;
        FormChange change;
        FormChecks checks;  // transparent, loop, sound named
        FormEnabling before;
        FormEnabling after;  // colour, back to frame, audio once, start frame
    };
    const Case cases[] = {
        {"reset clears whatever was on", C::Reset, {true, true, true}, kAllOn, kAllOff},
        {"transparent on", C::Transparent, {true, false, false}, kAllOff, {true, false, false, false}},
        {"transparent off touches only the colour", C::Transparent, {false, true, true}, kAllOn,
         {false, true, true, true}},
        {"loop on with a sound", C::ImageLoop, {false, true, true}, kAllOff, {false, true, true, false}},
        {"loop on without a sound", C::ImageLoop, {false, true, false}, kAllOff, {false, true, false, false}},
        {"loop off takes audio once with it", C::ImageLoop, {true, false, true}, kAllOn,
         {true, false, false, true}},
        {"sound named, not looping", C::AudioFile, {false, false, true}, kAllOff, {false, false, false, true}},
        {"sound named while looping", C::AudioFile, {false, true, true}, {false, true, false, false},
         {false, true, true, true}},
        {"sound emptied", C::AudioFile, {true, true, false}, kAllOn, {true, true, false, false}},
        {"opened with a sound, not looping: audio once still on", C::Opened, {false, false, true}, kAllOff,
         {false, false, true, false}},
        {"opened looping and transparent, no sound", C::Opened, {true, true, false}, kAllOff,
         {true, true, false, false}},
        {"opened keeps the start frame on", C::Opened, {false, false, false}, kAllOn,
         {false, false, false, true}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EnablingAfter(c.change, c.checks, c.before), c.after) << c.what;
    }
}

TEST(BuilderModel, ConfirmDiscardDecision) {
    struct Case {
        const char* what;
        int dirty;
        SaveAnswer answer;
        bool saveSucceeds;
        bool discard;
        int asked, saved;
    };
    const Case cases[] = {
        {"nothing unsaved", 0, SaveAnswer::Cancel, false, true, 0, 0},
        {"Yes, saved", 1, SaveAnswer::Yes, true, true, 1, 1},
        {"Yes, save failed", 1, SaveAnswer::Yes, false, false, 1, 1},
        {"No", 1, SaveAnswer::No, false, true, 1, 0},
        {"Cancel", 1, SaveAnswer::Cancel, true, false, 1, 0},
    };
    for (const Case& c : cases) {
        BuilderModel model;
        model.dirty = c.dirty;
        int asked = 0, saved = 0;
        const bool discard = model.ConfirmDiscard([&] { return ++asked, c.answer; },
                                                  [&] { return ++saved, c.saveSucceeds; });
        EXPECT_EQ(std::tuple(discard, asked, saved), std::tuple(c.discard, c.asked, c.saved)) << c.what;
    }
}

TEST(BuilderModel, TitleFollowsNewAndSave) {
    BuilderModel model;
    EXPECT_EQ(model.Caption(), "[Untitled] - Quixmoor Gesture");
    model.dirty = 1;
    model.MakeTitled("c:\\g\\wave.qxm", "wave.qxm");
    EXPECT_EQ(model.Caption(), "wave.qxm - Quixmoor Gesture");
    EXPECT_EQ(model.filePath, "c:\\g\\wave.qxm");
    EXPECT_EQ((std::pair{model.untitled, model.dirty}), (std::pair{0, 0}));

    model.dirty = 1;
    model.MakeUntitled();
    EXPECT_EQ(model.Caption(), "[Untitled] - Quixmoor Gesture");
    EXPECT_EQ((std::pair{model.untitled, model.dirty}), (std::pair{1, 0}));
    // New forgets the title and keeps the path member.
    EXPECT_EQ(model.filePath, "c:\\g\\wave.qxm");
}

}  // namespace
}  // namespace qx
