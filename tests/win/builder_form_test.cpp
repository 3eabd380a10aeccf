// The form: enabling rules, path members, change tracking, ResetForm and
// ConfirmDiscard.
#include "BuilderFixture_win.h"

#include <functional>

namespace qx::test {
namespace {

using BuilderForm = BuilderTest;

TEST_F(BuilderForm, SoundLoopAndTransparencyEnableTheirDependentFields) {
    struct Step {
        const char* what;
        std::function<void()> act;
        bool backToFrame, startFrame, audioOnce, colour;  // 1014, 1015, 1016, 1006-1008 enabled
    };
    const Step steps[] = {
        {"sound typed", [&] { Type(1002, "c:\\sounds\\wave.wav"); }, false, true, false, false},
        {"loop checked", [&] { Click(1010); }, true, true, true, false},
        {"audio once checked", [&] { Click(1016); }, true, true, true, false},
        {"transparent checked", [&] { Click(1005); }, true, true, true, true},
        {"colour typed", [&] { Type(1006, "255"); Type(1007, "0"); Type(1008, "255"); }, true, true, true, true},
        {"loop unchecked", [&] { Click(1010); }, false, true, false, true},
        {"transparent unchecked", [&] { Click(1005); }, false, true, false, false},
        {"sound emptied", [&] { Type(1002, ""); }, false, false, false, false},
        {"loop checked without sound", [&] { Click(1010); }, true, false, false, false},
        {"sound typed with loop checked", [&] { Type(1002, "a.wav"); }, true, true, true, false},
        {"transparent checked again", [&] { Click(1005); }, true, true, true, true},
    };
    for (const Step& s : steps) {
        s.act();
        EXPECT_EQ(Enabled(1014), s.backToFrame) << s.what;
        EXPECT_EQ(Enabled(1015), s.startFrame) << s.what;
        EXPECT_EQ(Enabled(1016), s.audioOnce) << s.what;
        for (int id : {1006, 1007, 1008}) EXPECT_EQ(Enabled(id), s.colour) << s.what << " " << id;
    }
    // Disabling a field keeps its check and its number.
    EXPECT_TRUE(Checked(1016));
    EXPECT_EQ(Text(1006) + "," + Text(1007) + "," + Text(1008), "255,0,255");
    EXPECT_EQ(builder->model.audioFile, "a.wav");
}

TEST_F(BuilderForm, EveryFieldEditAndClickMarksDirty) {
    for (int id : {1001, 1002, 1021, 1004, 1012, 1006, 1007, 1008, 1014, 1015}) {
        builder->model.dirty = 0;
        Type(id, "7");
        EXPECT_EQ(builder->model.dirty, 1) << id;
    }
    for (int id : {1005, 1010, 1011, 1016}) {
        builder->model.dirty = 0;
        EnableWindow(Item(id), TRUE);
        Click(id);
        EXPECT_EQ(builder->model.dirty, 1) << id;
    }
}

TEST_F(BuilderForm, LoadingLeavesPathMembersAndDirtyAlone) {
    builder->model.animationFile = "t\\~tempqxm.gif";
    builder->model.buttonImageFile = "t\\~tempqxmb.gif";
    builder->model.audioFile = "t\\~tempqxm.wav";
    builder->model.dirty = 0;
    builder->model.loading = 1;
    for (int id : {1001, 1021, 1002}) Type(id, "*** internal ***");
    EXPECT_EQ(builder->model.dirty, 0);
    Type(1004, "Wave");  // other edits mark the form even while loading
    EXPECT_EQ(builder->model.dirty, 1);
    builder->model.loading = 0;
    EXPECT_EQ(builder->model.animationFile, "t\\~tempqxm.gif");
    EXPECT_EQ(builder->model.buttonImageFile, "t\\~tempqxmb.gif");
    EXPECT_EQ(builder->model.audioFile, "t\\~tempqxm.wav");

    // Once loading is over, typing into such an edit replaces its member.
    builder->model.dirty = 0;
    Type(1001, "c:\\mine.gif");
    EXPECT_EQ(builder->model.animationFile, "c:\\mine.gif");
    EXPECT_EQ(builder->model.dirty, 1);
}

TEST_F(BuilderForm, NewAnsweredCancelKeepsTheFormAndNoEmptiesEverything) {
    for (auto [id, text] : {std::pair{1001, "a.gif"}, {1002, "a.wav"}, {1021, "b.gif"}, {1004, "Wave"},
                            {1012, "40"}, {1006, "1"}, {1007, "2"}, {1008, "3"}, {1014, "2"}, {1015, "1"}}) {
        Type(id, text);
    }
    for (int id : {1005, 1010, 1011, 1016}) Click(id);
    for (int id : {1005, 1010, 1011, 1016}) ASSERT_TRUE(Checked(id)) << id;
    messages.Answer(IDCANCEL);
    Command(ID_FILE_NEW);
    EXPECT_EQ(Text(1004), "Wave");
    EXPECT_EQ(builder->model.dirty, 1);

    messages.Answer(IDNO);
    Command(ID_FILE_NEW);
    EXPECT_EQ(messages.Texts(), (std::vector<std::string>(2, "Save changes to gesture?")));
    for (int id : {1001, 1002, 1021, 1004, 1012, 1006, 1007, 1008, 1014, 1015}) EXPECT_EQ(Text(id), "") << id;
    for (int id : {1005, 1010, 1011, 1016}) EXPECT_FALSE(Checked(id)) << id;
    for (int id : {1006, 1007, 1008, 1014, 1015, 1016}) EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_EQ(builder->model.animationFile + builder->model.audioFile + builder->model.buttonImageFile, "");
    EXPECT_EQ(builder->model.dirty, 0);
    EXPECT_EQ(builder->model.untitled, 1);
    EXPECT_EQ(Caption(), "[Untitled] - Quixmoor Gesture");
}

TEST_F(BuilderForm, NewWithoutChangesAsksNothingAndKeepsFilePathPaletteDirectoryAndColourIndex) {
    builder->model.filePath = "c:\\g\\wave.qxm";
    builder->model.paletteDirectory = "c:\\g";
    builder->balloonColourIndex = 3;
    builder->model.untitled = 0;
    Command(ID_FILE_NEW);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(builder->model.filePath, "c:\\g\\wave.qxm");
    EXPECT_EQ(builder->model.paletteDirectory, "c:\\g");
    EXPECT_EQ(builder->balloonColourIndex, 3);
    EXPECT_EQ(builder->model.untitled, 1);
}

TEST_F(BuilderForm, ConfirmDiscardAnswers) {
    struct Case {
        const char* what;
        int dirty;
        int answer;  // 0: none scripted
        bool discard;
        std::size_t asked;
    };
    const Case cases[] = {
        {"nothing to lose", 0, 0, true, 0},
        {"No", 1, IDNO, true, 1},
        {"Cancel", 1, IDCANCEL, false, 1},
        // Untitled, and the save cannot even start (no displayed name): the form must stay.
        {"Yes with a failing save", 1, IDYES, false, 2},
    };
    Type(1012, "40");
    for (const Case& c : cases) {
        builder->model.dirty = c.dirty;
        messages.shown.clear();
        if (c.answer) messages.Answer(c.answer);
        EXPECT_EQ(builder->ConfirmDiscard(), c.discard) << c.what;
        EXPECT_EQ(messages.shown.size(), c.asked) << c.what;
    }
    EXPECT_EQ(Text(1012), "40");
    EXPECT_EQ(builder->model.dirty, 1);
}

}  // namespace
}  // namespace qx::test
