// The performance manager and its balloons driven directly, with gestures
// built in memory: sound ownership, several anchors, a picture that does not
// decode, placement that finds no corner and the transparent colour.
#include "PlaybackFixture_win.h"

namespace qx::test {
namespace {

constexpr char kText[] = "This is a test\nof the gesture.";
constexpr unsigned kYellow = 0xFFFF80;

class PerformanceManagerTest : public PlaybackBuilderTest {
protected:
    void Start(const Gesture* gesture, HWND anchor = nullptr, int baseTicks = 23, const std::string& text = kText) {
        Manager().Start(anchor ? anchor : Pane(), builder->hwnd(), baseTicks, RGB(255, 255, 128), 8, text, gesture);
    }
};

TEST_F(PerformanceManagerTest, TheLaterOfTwoTakesTheSoundAndOneEndsByTimeWhileTheOtherGoesOn) {
    const HWND other = MakeChild(-160, 0, 48, 64);
    // One frame looping on the audio start frame: each tick restarts the sound of its owner.
    const Gesture first = MakeGesture(1, GF_IMAGE_LOOP | GF_AUDIO, 1000);
    const Gesture second = MakeGesture(1, GF_IMAGE_LOOP | GF_AUDIO, 2000);
    Start(&first, nullptr, 2, "");
    Start(&second, other, 5, "");
    ASSERT_EQ(Running(), 2u);
    EXPECT_EQ(Manager().SoundOwner(), Manager().Entries()[1]->performance.get());
    const HWND shorter = Manager().Entries()[0]->performance->hwnd();
    for (int i = 0; i < 3; ++i) Tick();
    ASSERT_EQ(Running(), 1u);
    EXPECT_FALSE(IsWindow(shorter));
    EXPECT_EQ(Manager().Entries()[0]->clock.TickCount(), 3);
    ASSERT_EQ(sound.played.size(), 5u);  // each start, then three ticks of the second
    EXPECT_EQ(sound.played[0], first.audioData);
    for (std::size_t i = 1; i < sound.played.size(); ++i) EXPECT_EQ(sound.played[i], second.audioData) << i;
    EXPECT_TRUE(Manager().HasSound()) << "the silent one's end leaves the other's sound playing";
    DestroyWindow(other);
}

TEST_F(PerformanceManagerTest, NoCornerVisibleShowsNothingAndStopsTheSoundSetupStarted) {
    const HWND cover = MakeChild(-2, -2, 52, 68);
    const Gesture g = MakeGesture(4, GF_AUDIO, 500);
    Start(&g);
    EXPECT_EQ(Running(), 0u);
    EXPECT_EQ(FindWindowExA(builder->hwnd(), nullptr, BalloonWindow::ClassName(), nullptr), nullptr);
    EXPECT_EQ(sound.played.size(), 1u);
    EXPECT_EQ(sound.stops, 2) << "once before the play, once when the balloon is discarded";
    EXPECT_TRUE(TimerRunning()) << "set before placement; the next tick kills it";
    Tick();
    EXPECT_FALSE(TimerRunning());
    DestroyWindow(cover);
}

TEST_F(PerformanceManagerTest, APictureThatDoesNotDecodePlaysItsTextAloneAndFinishesAtOnce) {
    Gesture g = MakeGesture(4, 0);
    g.imageData = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x00, 0, 0};  // table size field too small
    Start(&g);
    ASSERT_EQ(Running(), 1u);
    EXPECT_EQ(Shown().StripWidth(), 0);
    EXPECT_EQ(Shown().WindowSize().width, TextWidth() + 20);
    const Pixels before = CaptureClient(Balloon());
    EXPECT_EQ(before.At(5, 12), kYellow) << "the frame area keeps the colour";
    Tick();
    EXPECT_TRUE(Shown().Stepper().Has(PF_FINISHED));
    EXPECT_EQ(CaptureClient(Balloon()).rgb, before.rgb);
    const HWND running = Balloon();
    Start(nullptr, nullptr, 23, "");
    ASSERT_EQ(Running(), 1u);
    EXPECT_EQ(Balloon(), running) << "neither text nor gesture starts nothing and leaves the running one";
}

TEST_F(PerformanceManagerTest, TheTransparentColourShowsTheBalloonColour) {
    Gesture g = MakeGesture(4, GF_TRANSPARENT);
    g.transparentColour = RGB(0x00, 0xA0, 0x00);  // frame 1's colour
    Start(&g);
    Tick();
    EXPECT_EQ(CaptureClient(Balloon()).At(10, 12), kYellow);
    Tick();
    EXPECT_EQ(CaptureClient(Balloon()).At(10, 12), kFrameColours[2]);
}

}  // namespace
}  // namespace qx::test
