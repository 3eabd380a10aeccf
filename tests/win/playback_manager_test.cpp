// The performance manager and its balloons driven directly, with gestures
// built in memory: sound ownership, several anchors, pictures that do not
// decode, placement that finds no corner, the paint paths and the pane.
#include "PlaybackFixture_win.h"

namespace qx::test {
namespace {

using PerformanceManagerTest = PlaybackBuilderTest;

constexpr char kText[] = "This is a test\nof the gesture.";

class BalloonTest : public PlaybackBuilderTest {
protected:
    void Start(const Gesture* gesture, const std::string& text = kText, HWND anchor = nullptr,
               COLORREF colour = RGB(255, 255, 128), int baseTicks = 23) {
        Manager().Start(anchor ? anchor : Pane(), builder->hwnd(), baseTicks, colour, 8, text, gesture);
    }
};

TEST_F(PerformanceManagerTest, APerformanceThatLosesTheSoundBufferStaysSilent) {
    const HWND other = MakeAnchor(-160);
    // One frame looping on the audio start frame: each tick restarts the sound of its owner.
    const Gesture first = MakeGesture({1, 20, 24}, GF_IMAGE_LOOP | GF_AUDIO, 1000);
    const Gesture second = MakeGesture({1, 20, 24}, GF_IMAGE_LOOP | GF_AUDIO, 2000);
    Manager().Start(Pane(), builder->hwnd(), 23, RGB(255, 255, 255), 8, kText, &first);
    ASSERT_EQ(sound.played.size(), 1u);
    Manager().Start(other, builder->hwnd(), 23, RGB(255, 255, 255), 8, kText, &second);
    ASSERT_EQ(Running(), 2u);
    EXPECT_EQ(Manager().SoundOwner(), Manager().Entries()[1]->performance.get());
    for (int i = 0; i < 5; ++i) Tick();
    ASSERT_EQ(sound.played.size(), 7u);  // the first's start, the second's start and five ticks
    EXPECT_EQ(sound.played[0], first.audioData);
    for (std::size_t i = 1; i < sound.played.size(); ++i) EXPECT_EQ(sound.played[i], second.audioData) << i;
    // Ending the silent one leaves the other's sound playing.
    const int stops = sound.stops;
    Manager().StopForAnchor(Pane(), false);
    EXPECT_EQ(sound.stops, stops);
    EXPECT_TRUE(Manager().HasSound());
    DestroyWindow(other);
}

TEST_F(PerformanceManagerTest, OneEndsByTimeWhileTheOtherAdvancesInTheSameTick) {
    const HWND other = MakeAnchor(-160);
    const Gesture g = MakeGesture({8, 10, 24}, 0);
    Manager().Start(Pane(), builder->hwnd(), 2, RGB(255, 255, 255), 8, "", &g);
    Manager().Start(other, builder->hwnd(), 5, RGB(255, 255, 255), 8, "", &g);
    const HWND shorter = Manager().Entries()[0]->performance->hwnd();
    for (int i = 0; i < 3; ++i) Tick();
    ASSERT_EQ(Running(), 1u);
    EXPECT_FALSE(IsWindow(shorter));
    EXPECT_EQ(Manager().Entries()[0]->anchor, other);
    EXPECT_EQ(Manager().Entries()[0]->clock.TickCount(), 3);
    EXPECT_EQ(Shown().Stepper().CurrentFrame(), 3);
    DestroyWindow(other);
}

TEST_F(PerformanceManagerTest, NothingWithoutTextOrGesture) {
    const Gesture g = MakeGesture({4, 20, 24}, 0);
    Manager().Start(Pane(), builder->hwnd(), 23, RGB(255, 255, 255), 8, kText, &g);
    const HWND running = Shown().hwnd();
    Manager().Start(Pane(), builder->hwnd(), 23, RGB(255, 255, 255), 8, "", nullptr);
    ASSERT_EQ(Running(), 1u);
    EXPECT_EQ(Balloon(), running);
}

TEST_F(PerformanceManagerTest, NoCornerVisibleShowsNothingAndStopsTheSoundSetupStarted) {
    const Rect pane = WindowRectOf(Pane());
    POINT origin{pane.left, pane.top};
    ScreenToClient(builder->hwnd(), &origin);
    // SS_NOTIFY: a plain static is transparent to hit-testing and hides nothing.
    const HWND cover = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_NOTIFY, origin.x - 2, origin.y - 2,
                                       pane.Width() + 4, pane.Height() + 4, builder->hwnd(), nullptr,
                                       GetModuleHandleA(nullptr), nullptr);
    SetWindowPos(cover, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    const Gesture g = MakeGesture({4, 20, 24}, GF_AUDIO, 500);
    Manager().Start(Pane(), builder->hwnd(), 23, RGB(255, 255, 255), 8, kText, &g);
    EXPECT_EQ(Running(), 0u);
    EXPECT_EQ(FindWindowExA(builder->hwnd(), nullptr, BalloonWindow::ClassName(), nullptr), nullptr);
    EXPECT_EQ(sound.played.size(), 1u);
    EXPECT_EQ(sound.stops, 2) << "once before the play, once when the balloon is discarded";
    EXPECT_FALSE(Manager().HasSound());
    EXPECT_TRUE(TimerRunning()) << "set before placement; the next tick kills it";
    Tick();
    EXPECT_FALSE(TimerRunning());
    DestroyWindow(cover);
}

TEST_F(BalloonTest, PicturesThatDoNotFitPlayWithoutACrash) {
    struct Case {
        const char* what;
        Gesture gesture;
        bool animated;
        int stripWidth;
        int frameCount;
    };
    Gesture undecodable = MakeGesture({4, 20, 24}, 0);
    undecodable.imageData = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x00, 0, 0};  // table size field too small
    Gesture wideFrame = MakeGesture({1, 10, 24}, 0);
    wideFrame.frameWidth = 30;
    Gesture zeroWidth = MakeGesture({4, 20, 24}, GF_AUDIO, 400);
    zeroWidth.frameWidth = 0;
    const Case cases[] = {
        {"picture does not decode", undecodable, true, 0, 0},
        {"frame wider than the strip", wideFrame, true, 10, 0},
        {"frame width 0", zeroWidth, false, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Start(&c.gesture);
        ASSERT_EQ(Running(), 1u);
        Performance& shown = Shown();
        EXPECT_EQ(shown.HasAnimation(), c.animated);
        EXPECT_EQ(shown.StripWidth(), c.stripWidth);
        EXPECT_EQ(shown.Stepper().FrameCount(), c.frameCount);
        EXPECT_FALSE(Manager().HasSound());
        const int frameWidth = c.animated ? c.gesture.frameWidth : 0;
        EXPECT_EQ(shown.WindowSize().width, TextWidth() + frameWidth);

        const Pixels before = CaptureClient(Balloon());
        if (c.stripWidth > 0) {
            EXPECT_EQ(before.At(5, 12), kFrameColours[0]) << "the strip shows at the start";
            EXPECT_EQ(before.At(c.stripWidth + 5, 12), 0xFFFF80u) << "beyond the strip, the colour";
        } else if (c.animated) {
            EXPECT_EQ(before.At(5, 12), 0xFFFF80u) << "no pixels: the frame area keeps the colour";
        }
        Tick();
        EXPECT_EQ(shown.Stepper().Has(PF_FINISHED), c.animated);
        EXPECT_EQ(shown.Stepper().CurrentFrame(), 0);
        EXPECT_EQ(CaptureClient(Balloon()).rgb, before.rgb);
        Manager().StopForAnchor(Pane(), false);
    }
}

TEST_F(BalloonTest, AnAudioStartFramePastTheEndNeverSounds) {
    const Gesture g = MakeGesture({4, 20, 24}, GF_IMAGE_LOOP | GF_AUDIO, 300, 4);
    Start(&g);
    for (int i = 0; i < 12; ++i) Tick();
    EXPECT_TRUE(Manager().HasSound());
    EXPECT_TRUE(sound.played.empty());
}

TEST_F(BalloonTest, AFrameOnlyUpdateRedrawsTheFrameAlone) {
    const Gesture g = MakeGesture({4, 20, 24}, 0);
    Start(&g);
    Tick();
    Performance& shown = Shown();
    const Size size = shown.WindowSize();

    const Pixels fast = PaintedPixels(shown, RECT{1, 1, 19, 23});
    EXPECT_EQ(fast.At(10, 12), kFrameColours[1]);
    EXPECT_EQ(fast.At(size.width - 3, size.height / 2), kUntouched) << "no fill, no text";
    EXPECT_EQ(fast.At(size.width - 1, size.height / 2), kBlack) << "the outline is drawn";

    // One pixel past the frame area takes the full path.
    const Pixels full = PaintedPixels(shown, RECT{0, 0, 21, 24});
    EXPECT_EQ(full.At(10, 12), kFrameColours[1]);
    EXPECT_EQ(full.At(size.width - 3, size.height / 2), 0xFFFF80u);
}

TEST_F(BalloonTest, TheTransparentColourShowsTheBalloonColour) {
    Gesture g = MakeGesture({4, 20, 24}, GF_TRANSPARENT);
    g.transparentColour = RGB(0x00, 0xA0, 0x00);  // frame 1's colour
    Start(&g);
    Tick();
    EXPECT_EQ(CaptureClient(Balloon()).At(10, 12), 0xFFFF80u);
    Tick();
    EXPECT_EQ(CaptureClient(Balloon()).At(10, 12), kFrameColours[2]);
}

TEST_F(BalloonTest, TheTailFollowsTheSide) {
    const Gesture g = MakeGesture({4, 20, 24}, 0);
    Start(&g);
    ASSERT_EQ(Shown().Side(), BalloonSide::AboveLeft);
    // With the pane near the top of the builder, there is more room below.
    const Point at = builder->previewPaneOrigin;
    SetWindowPos(Pane(), nullptr, at.x, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_EQ(Running(), 0u) << "moving the pane ends its performance";
    Start(&g);
    ASSERT_EQ(Running(), 1u);
    EXPECT_EQ(Shown().Side(), BalloonSide::BelowLeft);
    const Rect pane = WindowRectOf(Pane());
    const Rect balloon = WindowRectOf(Balloon());
    EXPECT_EQ(balloon.top, pane.bottom - 7);
    EXPECT_EQ(balloon.right, pane.left + 20);
    const Pixels p = CaptureClient(Pane());
    EXPECT_EQ(p.At(4, p.height - 2), 0xFFFF80u);
    EXPECT_EQ(p.At(12, p.height - 1 - 6), kBlack);
    EXPECT_NE(p.At(4, 1), 0xFFFF80u);
    const Pixels b = CaptureClient(Balloon());
    EXPECT_EQ(b.At(b.width - 10, 0), 0xFFFF80u) << "the gap faces the pane";
    EXPECT_EQ(b.At(b.width - 13, 0), kBlack);
    EXPECT_EQ(b.At(b.width - 10, b.height - 1), kBlack);
}

using PreviewPaneTest = PlaybackBuilderTest;

TEST_F(PreviewPaneTest, IsCreatedAtItsPlaceAndShowsTheAvatar) {
    const HWND pane = Pane();
    ASSERT_NE(pane, nullptr);
    EXPECT_EQ(GetParent(pane), builder->hwnd());
    EXPECT_EQ(WindowText(pane), "Preview Logo");
    const LONG style = GetWindowLongA(pane, GWL_STYLE);
    const LONG wanted = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_BORDER;
    EXPECT_EQ(style & wanted, wanted);
    EXPECT_EQ(GetWindowLongA(pane, GWL_EXSTYLE) & ~WS_EX_NOPARENTNOTIFY, 0);
    RECT r{};
    GetWindowRect(pane, &r);
    MapWindowPoints(nullptr, builder->hwnd(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, builder->previewPaneOrigin.x);
    EXPECT_EQ(r.top, builder->previewPaneOrigin.y);
    EXPECT_EQ(r.right - r.left, 48);
    EXPECT_EQ(r.bottom - r.top, 64);

    // The avatar shows one ring outside the client area.
    HBITMAP avatar = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_AVATAR));
    ASSERT_NE(avatar, nullptr);
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(memory, avatar);
    const Pixels p = CaptureClient(Pane());
    ASSERT_EQ(p.width, 46);
    ASSERT_EQ(p.height, 62);
    int differences = 0;
    for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x) {
            if (p.At(x, y) != PixelOf(GetPixel(memory, x + 1, y + 1))) ++differences;
        }
    }
    EXPECT_EQ(differences, 0);
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(avatar);
}

}  // namespace
}  // namespace qx::test
