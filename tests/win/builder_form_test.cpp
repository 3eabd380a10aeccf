// The form: enabling rules, path members, change tracking, ResetForm and
// ConfirmDiscard.
#include "BuilderFixture_win.h"

namespace qx::test {
namespace {

using BuilderForm = BuilderTest;

TEST_F(BuilderForm, AudioFileEnablesStartFrameAndWithLoopAudioOnce) {
    Type(1002, "c:\\sounds\\wave.wav");
    EXPECT_EQ(builder->audioFile, "c:\\sounds\\wave.wav");
    EXPECT_TRUE(Enabled(1015));
    EXPECT_FALSE(Enabled(1016));
    EXPECT_EQ(builder->dirty, 1);

    Click(1010);  // "Image Loop"
    EXPECT_TRUE(Enabled(1014));
    EXPECT_TRUE(Enabled(1016));

    Type(1002, "");
    EXPECT_EQ(builder->audioFile, "");
    EXPECT_FALSE(Enabled(1015));
    EXPECT_FALSE(Enabled(1016));
}

TEST_F(BuilderForm, TypingAudioWithLoopAlreadyCheckedEnablesAudioOnce) {
    Click(1010);
    EXPECT_FALSE(Enabled(1016));
    Type(1002, "a.wav");
    EXPECT_TRUE(Enabled(1016));
}

TEST_F(BuilderForm, LoopWithoutAudioEnablesBackToFrameOnly) {
    Click(1010);
    EXPECT_TRUE(Checked(1010));
    EXPECT_TRUE(Enabled(1014));
    EXPECT_FALSE(Enabled(1016));
    EXPECT_FALSE(Enabled(1015));
    EXPECT_EQ(builder->dirty, 1);
    Click(1010);
    EXPECT_FALSE(Enabled(1014));
}

TEST_F(BuilderForm, TransparentColourTogglesTheThreeEditsAndKeepsTheirNumbers) {
    Click(1005);
    for (int id : {1006, 1007, 1008}) EXPECT_TRUE(Enabled(id)) << id;
    Type(1006, "255");
    Type(1007, "0");
    Type(1008, "255");
    Click(1005);
    for (int id : {1006, 1007, 1008}) EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_EQ(Text(1006), "255");
    EXPECT_EQ(Text(1007), "0");
    EXPECT_EQ(Text(1008), "255");
    Click(1005);
    EXPECT_TRUE(Enabled(1007));
    EXPECT_EQ(Text(1007), "0");
}

TEST_F(BuilderForm, UncheckingKeepsDependentCheckStates) {
    Type(1002, "a.wav");
    Click(1010);
    Click(1016);
    ASSERT_TRUE(Checked(1016));
    Click(1010);
    EXPECT_FALSE(Enabled(1016));
    EXPECT_TRUE(Checked(1016));
}

TEST_F(BuilderForm, EveryFieldEditAndClickMarksDirty) {
    for (int id : {1001, 1002, 1021, 1004, 1012, 1006, 1007, 1008, 1014, 1015}) {
        builder->dirty = 0;
        Type(id, "7");
        EXPECT_EQ(builder->dirty, 1) << id;
    }
    for (int id : {1005, 1010, 1011, 1016}) {
        builder->dirty = 0;
        EnableWindow(Item(id), TRUE);
        Click(id);
        EXPECT_EQ(builder->dirty, 1) << id;
    }
}

TEST_F(BuilderForm, FileEditsCopyIntoTheirPathMembers) {
    Type(1001, "c:\\art\\strip.gif");
    Type(1021, "c:\\art\\button.gif");
    EXPECT_EQ(builder->animationFile, "c:\\art\\strip.gif");
    EXPECT_EQ(builder->buttonImageFile, "c:\\art\\button.gif");
}

TEST_F(BuilderForm, LoadingLeavesPathMembersAndDirtyAlone) {
    builder->animationFile = "t\\~tempqxm.gif";
    builder->buttonImageFile = "t\\~tempqxmb.gif";
    builder->audioFile = "t\\~tempqxm.wav";
    builder->dirty = 0;
    builder->loading = 1;
    Type(1001, "*** internal ***");
    Type(1021, "*** internal ***");
    Type(1002, "*** internal ***");
    builder->loading = 0;
    EXPECT_EQ(builder->animationFile, "t\\~tempqxm.gif");
    EXPECT_EQ(builder->buttonImageFile, "t\\~tempqxmb.gif");
    EXPECT_EQ(builder->audioFile, "t\\~tempqxm.wav");
    EXPECT_EQ(builder->dirty, 0);

    // Once loading is over, typing into such an edit replaces its member.
    Type(1001, "c:\\mine.gif");
    EXPECT_EQ(builder->animationFile, "c:\\mine.gif");
    EXPECT_EQ(builder->dirty, 1);
}

TEST_F(BuilderForm, OtherEditsMarkDirtyEvenWhileLoading) {
    builder->loading = 1;
    Type(1004, "Wave");
    builder->loading = 0;
    EXPECT_EQ(builder->dirty, 1);
}

TEST_F(BuilderForm, NewWithUnsavedChangesAnsweredNoEmptiesEverything) {
    for (auto [id, text] : {std::pair{1001, "a.gif"}, {1002, "a.wav"}, {1021, "b.gif"}, {1004, "Wave"},
                            {1012, "40"}, {1006, "1"}, {1007, "2"}, {1008, "3"}, {1014, "2"}, {1015, "1"}}) {
        Type(id, text);
    }
    for (int id : {1005, 1010, 1011, 1016}) Click(id);
    for (int id : {1005, 1010, 1011, 1016}) ASSERT_TRUE(Checked(id)) << id;
    messages.Answer(IDNO);
    Command(ID_FILE_NEW);
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"Save changes to gesture?"});
    for (int id : {1001, 1002, 1021, 1004, 1012, 1006, 1007, 1008, 1014, 1015}) EXPECT_EQ(Text(id), "") << id;
    for (int id : {1005, 1010, 1011, 1016}) EXPECT_FALSE(Checked(id)) << id;
    for (int id : {1006, 1007, 1008, 1014, 1015, 1016}) EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_EQ(builder->animationFile, "");
    EXPECT_EQ(builder->audioFile, "");
    EXPECT_EQ(builder->buttonImageFile, "");
    EXPECT_EQ(builder->dirty, 0);
    EXPECT_EQ(builder->untitled, 1);
    EXPECT_EQ(Caption(), "[Untitled] - Quixmoor Gesture");
}

TEST_F(BuilderForm, NewAnsweredCancelChangesNothing) {
    Type(1004, "Wave");
    messages.Answer(IDCANCEL);
    Command(ID_FILE_NEW);
    EXPECT_EQ(Text(1004), "Wave");
    EXPECT_EQ(builder->dirty, 1);
}

TEST_F(BuilderForm, NewWithoutChangesAsksNothing) {
    Command(ID_FILE_NEW);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(BuilderForm, ResetKeepsFilePathPaletteDirectoryAndColourIndex) {
    builder->filePath = "c:\\g\\wave.qxm";
    builder->paletteDirectory = "c:\\g";
    builder->balloonColourIndex = 3;
    builder->untitled = 0;
    Command(ID_FILE_NEW);
    EXPECT_EQ(builder->filePath, "c:\\g\\wave.qxm");
    EXPECT_EQ(builder->paletteDirectory, "c:\\g");
    EXPECT_EQ(builder->balloonColourIndex, 3);
    EXPECT_EQ(builder->untitled, 1);
}

TEST_F(BuilderForm, ConfirmDiscardYesThatFailsToSaveRefuses) {
    // An untitled form whose save cannot even start (no displayed name):
    // the form must not be dropped.
    Type(1012, "40");
    messages.Answer(IDYES);
    EXPECT_FALSE(builder->ConfirmDiscard());
    EXPECT_EQ(Text(1012), "40");
    EXPECT_EQ(builder->dirty, 1);
}

TEST_F(BuilderForm, ConfirmDiscardAnswers) {
    EXPECT_TRUE(builder->ConfirmDiscard());  // nothing to lose, nothing asked
    EXPECT_TRUE(messages.shown.empty());
    builder->dirty = 1;
    messages.Answer(IDNO);
    EXPECT_TRUE(builder->ConfirmDiscard());
    messages.Answer(IDCANCEL);
    EXPECT_FALSE(builder->ConfirmDiscard());
    EXPECT_EQ(messages.shown.size(), 2u);
}

}  // namespace
}  // namespace qx::test
