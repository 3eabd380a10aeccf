// The builder's Test: a balloon beside the preview pane, stepped by the
// animation timer on the builder window, ended by time, by a click or by the
// next Test.
#include "PlaybackFixture_win.h"

namespace qx::test {
namespace {

using TestCommand = PlaybackBuilderTest;

constexpr unsigned kYellow = 0xFFFF80;  // the second balloon colour

// Above-left of the pane, on top of its siblings, with the frame in its top
// left, the outline's gap over the pane and the tail in the pane's corner
// (their shapes are the balloon geometry's).
TEST_F(TestCommand, ShowsTheBalloonAboveThePaneWithItsGapAndTail) {
    FillForm({});
    builder->balloonColourIndex = 1;  // a colour the avatar and the form do not use
    RunTest();
    ASSERT_EQ(Running(), 1u);
    EXPECT_EQ(Shown().Text(), "This is a test\nof the gesture.");
    LOGFONTA font{};
    ASSERT_NE(GetObjectA(Shown().Font(), sizeof font, &font), 0);
    EXPECT_EQ(font.lfHeight, MulDiv(8, GetDeviceCaps(WindowDC(nullptr).get(), LOGPIXELSY), 72));
    const Rect balloon = ScreenRect(Balloon());
    const Rect pane = ScreenRect(Pane());
    EXPECT_EQ(balloon.Width(), 20 + TextWidth());
    EXPECT_EQ(balloon.right, pane.left + 20);
    EXPECT_EQ(balloon.bottom, pane.top + 7);
    EXPECT_EQ(GetWindow(Balloon(), GW_HWNDPREV), nullptr);

    const Pixels b = CaptureClient(Balloon());
    EXPECT_EQ(b.At(10, 12), kFrameColours[0]);
    EXPECT_EQ(b.At(b.width / 2, 0), kBlack);
    EXPECT_EQ(b.At(b.width - 10, b.height - 1), kYellow);
    const Pixels p = CaptureClient(Pane());
    EXPECT_EQ(p.At(4, 1), kYellow);
}

TEST_F(TestCommand, OnlyTheAnimationTimerStepsTheFrameRepaintingItsAreaUntilTheTimeIsUp) {
    FillForm({.loop = true});
    RunTest();
    const HWND balloon = Balloon();
    UpdateWindow(balloon);
    RECT update{};
    for (WPARAM id : {0u, kAnimationTimerId - 1, kAnimationTimerId + 1}) Tick(id);  // other timers
    EXPECT_EQ(Shown().Stepper().CurrentFrame(), 0);
    EXPECT_FALSE(GetUpdateRect(balloon, &update, FALSE));
    Tick();
    ASSERT_TRUE(GetUpdateRect(balloon, &update, FALSE));
    EXPECT_EQ(ToRect(update), (Rect{1, 1, 19, 23}));
    UpdateWindow(balloon);
    EXPECT_EQ(CaptureClient(balloon).At(10, 12), kFrameColours[1]);
    for (int tick = 2; tick < 30; ++tick) Tick();
    ASSERT_EQ(Running(), 1u);
    Tick();  // the 30th: 23 ticks lengthened by the 30 characters of the text
    EXPECT_EQ(Running(), 0u);
    EXPECT_FALSE(IsWindow(balloon));
    EXPECT_FALSE(TimerRunning());
    EXPECT_TRUE(GetUpdateRect(Pane(), &update, FALSE)) << "the pane repaints without the tail";
}

// Every end takes the balloon and stops the sound: a button on the balloon
// or the pane, a move of the pane, the next Test (which starts again at frame
// 0 and takes the sound) and closing the builder. Run twice, the second
// round gives back every GDI object; the first creates what the platform
// keeps for the rest of the run.
TEST_F(TestCommand, EveryEndTakesTheBalloonAndTheSoundAndGivesBackItsObjects) {
    FillForm({.withSound = true});
    enum class On { kBalloon, kPane, kMovedPane, kNextTest };
    const struct {
        On on;
        UINT message;
    } cases[] = {{On::kBalloon, WM_LBUTTONDOWN}, {On::kBalloon, WM_MBUTTONDOWN}, {On::kBalloon, WM_RBUTTONDOWN},
                 {On::kNextTest, 0},            {On::kPane, WM_LBUTTONDOWN},    {On::kPane, WM_MBUTTONDOWN},
                 {On::kPane, WM_RBUTTONDOWN},   {On::kMovedPane, WM_MOVE}};
    int gdi = 0;
    for (int round = 0; round < 2; ++round) {
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << round << " " << static_cast<int>(c.on) << " " << c.message);
            RunTest();
            Tick();
            UpdateWindow(Pane());
            const HWND balloon = Balloon();
            const int stops = sound.stops;
            const std::size_t plays = sound.played.size();
            const Point at = builder->previewPaneOrigin;
            switch (c.on) {
            case On::kNextTest: RunTest(); break;
            case On::kMovedPane:
                SetWindowPos(Pane(), nullptr, at.x + 1, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
                SetWindowPos(Pane(), nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
                break;
            default: SendMessageA(c.on == On::kPane ? Pane() : balloon, c.message, 0, MAKELPARAM(5, 5));
            }
            EXPECT_FALSE(IsWindow(balloon));
            // The next Test also stops whatever plays before it starts its sound.
            EXPECT_EQ(sound.stops, stops + (c.on == On::kNextTest ? 2 : 1));
            if (c.on != On::kNextTest) {
                EXPECT_EQ(Running(), 0u);
                continue;
            }
            ASSERT_EQ(Running(), 1u);
            EXPECT_EQ(Shown().Stepper().CurrentFrame(), 0);
            EXPECT_EQ(Manager().SoundOwner(), &Shown());
            EXPECT_EQ(sound.played.size(), plays + 1);
            SendMessageA(Balloon(), WM_LBUTTONDOWN, 0, 0);
        }
        EXPECT_TRUE(TimerRunning()) << "the next tick finds the list empty";
        Tick();
        EXPECT_FALSE(TimerRunning());
        Pump(20);
        if (round == 0) gdi = GdiObjectCount();
    }
    EXPECT_EQ(GdiObjectCount(), gdi);
    RunTest();
    const HWND last = Balloon();
    const int stops = sound.stops;
    builder.reset();
    EXPECT_EQ(sound.stops, stops + 1);
    EXPECT_FALSE(IsWindow(last));
}

TEST_F(TestCommand, TestsCycleThroughTheBalloonColoursLeavingDirtyAndCaption) {
    FillForm({});
    const std::string caption = Caption();
    for (COLORREF colour : {RGB(255, 255, 255), RGB(255, 255, 128), RGB(255, 255, 255), RGB(128, 255, 255),
                            RGB(255, 255, 255), RGB(128, 255, 128), RGB(255, 255, 255)}) {
        const int dirty = builder->model.dirty = !builder->model.dirty;
        RunTest();
        EXPECT_EQ(builder->model.dirty, dirty);
        EXPECT_EQ(Caption(), caption);
        EXPECT_EQ(Shown().Colour(), colour);
    }
}

TEST_F(TestCommand, AnInvalidFieldShowsItsMessageAndStartsNothing) {
    FillForm({});
    Type(IDC_FRAME_WIDTH, "0");
    RunTest();
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"Frame width must be between 1 to 255"});
    EXPECT_EQ(Running(), 0u);
    EXPECT_FALSE(TimerRunning());
    EXPECT_EQ(builder->balloonColourIndex, 0);
}

}  // namespace
}  // namespace qx::test
