// Pictures the player would not show: a repaired copy or a strip offered
// when Browse sets the picture, and Check Gesture's repair. The author's own
// files are never written.
#include "PlaybackFixture_win.h"
#include "image/GifDecoder.h"
#include "image/PackedDib.h"

#include <set>

namespace qx::test {
namespace {

// A file of the encoder corpus, copied into the test's directory so that the
// copies the builder makes beside it land there too.
std::string CopyCorpusFile(const ScratchDirectory& dir, const std::string& name) {
    std::string source = std::string("Z:") + QX_TEST_DATA + "/gif-encoders/" + name;
    for (char& c : source) {
        if (c == '/') c = '\\';
    }
    const std::string path = dir.File(name);
    WriteFileBytes(path, ReadFileBytes(source));
    return path;
}

// The colour of a decoded picture's pixel, 0xRRGGBB.
unsigned DecodedColour(const DibBlock& block, int x, int y) {
    const InfoHeader h = ReadInfoHeader(block.data());
    const std::uint8_t* row = block.data() + RowsOffset(h) + DibStride(h.width, h.bitCount) * (h.height - 1 - y);
    const int index = h.bitCount == 8 ? row[x] : (x & 1 ? row[x / 2] & 15 : row[x / 2] >> 4);
    const std::uint8_t* entry = block.data() + kInfoHeaderSize + 4 * index;
    return (entry[2] << 16) | (entry[1] << 8) | entry[0];
}

using BuilderPictures = PlaybackBuilderTest;

TEST_F(BuilderPictures, BrowsedStripThePlayerRefusesIsRepairedIntoACopyAndShowsInTheTest) {
    FillForm({.strip = {6, 32, 32}});
    const std::string original = CopyCorpusFile(dir, "magick-strip-4.gif");
    const std::vector<unsigned char> originalBytes = ReadFileBytes(original);
    files.Choose(original);
    messages.Answer(IDYES);
    Click(IDC_BROWSE_ANIMATION);

    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].type & 0xF, static_cast<UINT>(MB_YESNO));
    EXPECT_EQ(messages.shown[0].text.rfind(original + "\nThe player will not show this picture", 0), 0u)
        << messages.shown[0].text;
    const std::string fixed = dir.File("magick-strip-4-fixed.gif");
    EXPECT_EQ(Text(IDC_ANIMATION_FILE), fixed);
    EXPECT_EQ(builder->model.animationFile, fixed);
    EXPECT_EQ(ReadFileBytes(original), originalBytes);

    const std::vector<unsigned char> repaired = ReadFileBytes(fixed);
    const auto block = GifDecoder().Decode(repaired.data(), repaired.size());
    ASSERT_TRUE(block);
    RunTest();
    ASSERT_EQ(Running(), 1u);
    const Pixels balloon = CaptureClient(Balloon());
    // Frame 0 stands at the balloon's corner, under its one-pixel outline.
    int differing = 0;
    std::set<unsigned> colours;
    for (int y = 1; y < 31; ++y) {
        for (int x = 1; x < 31; ++x) {
            differing += balloon.At(x, y) != DecodedColour(*block, x, y);
            colours.insert(balloon.At(x, y));
        }
    }
    EXPECT_EQ(differing, 0);
    EXPECT_GE(colours.size(), 2u) << "the frame is a picture, not one colour";
}

TEST_F(BuilderPictures, BrowsedAnimationBecomesAStripWithItsFrameWidthAndTransparentColour) {
    const std::string animation = CopyCorpusFile(dir, "gifsicle-anim-disposal2.gif");
    files.Choose(animation);
    messages.Answer(IDYES);
    Click(IDC_BROWSE_ANIMATION);

    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text.find("is an animation of 4 images"), std::string::npos) << messages.shown[0].text;
    EXPECT_EQ(Text(IDC_ANIMATION_FILE), dir.File("gifsicle-anim-disposal2-strip.gif"));
    EXPECT_EQ(Text(IDC_FRAME_WIDTH), "26");
    EXPECT_TRUE(Checked(IDC_TRANSPARENT));
    EXPECT_TRUE(Enabled(IDC_RED));
    const std::string colour = Text(IDC_RED) + "," + Text(IDC_GREEN) + "," + Text(IDC_BLUE);
    EXPECT_NE(messages.shown[0].text.find("(" + Text(IDC_RED) + ", " + Text(IDC_GREEN) + ", " + Text(IDC_BLUE) + ")"),
              std::string::npos)
        << colour;
    EXPECT_EQ(builder->model.dirty, 1);

    // No keeps the animation as chosen, and writes nothing.
    messages.Answer(IDNO);
    files.Choose(animation);
    Click(IDC_BROWSE_ANIMATION);
    EXPECT_EQ(Text(IDC_ANIMATION_FILE), animation);
    EXPECT_FALSE(FileExists(dir.File("gifsicle-anim-disposal2-strip-2.gif")));
}

TEST_F(BuilderPictures, APictureNothingCanMendIsNamedAndKept) {
    WriteFileBytes(dir.File("photo.gif"), {0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0, 0, 13});
    files.Choose(dir.File("photo.gif"));
    Click(IDC_BROWSE_BUTTON_IMAGE);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, dir.File("photo.gif") +
                                          "\nThe player will not show this picture: it is a PNG picture, which the "
                                          "player does not read; save it as a GIF.");
    EXPECT_EQ(Text(IDC_BUTTON_IMAGE_FILE), dir.File("photo.gif"));
}

bool repairEnabled = false;

void CALLBACK PressRepair(HWND, UINT, UINT_PTR id, DWORD) {
    HWND dialog = FindWindowA("#32770", "Check Gesture");
    if (!dialog) return;
    KillTimer(nullptr, id);
    repairEnabled = IsWindowEnabled(GetDlgItem(dialog, IDC_CHECK_REPAIR)) != FALSE;
    SendMessageA(dialog, WM_COMMAND, repairEnabled ? IDC_CHECK_REPAIR : IDOK, 0);
}

TEST_F(BuilderPictures, CheckGestureRepairsTheFormsPicturesWhereTheAuthorChooses) {
    FillForm({.strip = {6, 32, 32}});
    const std::string button = CopyCorpusFile(dir, "pillow-button-4.gif");
    const std::vector<unsigned char> buttonBytes = ReadFileBytes(button);
    Type(IDC_BUTTON_IMAGE_FILE, button);
    const auto repairable = builder->RepairablePictures();
    ASSERT_EQ(repairable.size(), 1u);
    EXPECT_EQ(repairable[0].edit, Item(IDC_BUTTON_IMAGE_FILE));
    builder->model.dirty = 0;
    files.Choose(dir.File("mended.gif"));
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, &PressRepair);
    Command(ID_TOOLS_CHECK);
    KillTimer(nullptr, timer);

    EXPECT_TRUE(repairEnabled);
    ASSERT_EQ(files.asked.size(), 1u);
    EXPECT_TRUE(files.asked[0].save);
    EXPECT_EQ(files.asked[0].fileName, "pillow-button-4-fixed.gif");
    EXPECT_EQ(builder->model.buttonImageFile, dir.File("mended.gif"));
    EXPECT_EQ(builder->model.dirty, 1);
    EXPECT_EQ(ReadFileBytes(button), buttonBytes);
    EXPECT_TRUE(builder->RepairablePictures().empty());
    EXPECT_TRUE(messages.shown.empty());

    // Nothing left to repair: the button is there, disabled.
    const UINT_PTR again = SetTimer(nullptr, 0, 50, &PressRepair);
    Command(ID_TOOLS_CHECK);
    KillTimer(nullptr, again);
    EXPECT_FALSE(repairEnabled);
}

}  // namespace
}  // namespace qx::test
