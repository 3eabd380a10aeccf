// The builder's Test: a balloon beside the preview pane, stepped by the
// animation timer on the builder window, ended by time, by a click or by the
// next Test.
#include "PlaybackFixture_win.h"

namespace qx::test {
namespace {

using TestCommand = PlaybackBuilderTest;

constexpr unsigned kYellow = 0xFFFF80;  // the second balloon colour

// Above-left of the pane, on top of its siblings, with the frame in its top
// left, the outline's gap over the pane and the tail in the pane's corner.
TEST_F(TestCommand, ShowsTheBalloonAboveThePaneWithItsGapAndTail) {
    FillForm({.strip = {4, 20, 24}});
    builder->balloonColourIndex = 1;  // a colour the avatar and the form do not use
    RunTest();
    ASSERT_EQ(Running(), 1u);
    EXPECT_EQ(Shown().Text(), "This is a test\nof the gesture.");
    LOGFONTA font{};
    ASSERT_NE(GetObjectA(Shown().Font(), sizeof font, &font), 0);
    EXPECT_EQ(font.lfHeight, MulDiv(8, GetDeviceCaps(WindowDC(nullptr).get(), LOGPIXELSY), 72));
    EXPECT_EQ(font.lfClipPrecision, 0x12);
    EXPECT_EQ(font.lfPitchAndFamily, FF_SWISS);
    const Rect balloon = ScreenRect(Balloon());
    const Rect pane = ScreenRect(Pane());
    EXPECT_EQ(balloon.Width(), 20 + TextWidth());
    EXPECT_EQ(balloon.right, pane.left + 20);
    EXPECT_EQ(balloon.bottom, pane.top + 7);
    EXPECT_EQ(GetWindow(Balloon(), GW_HWNDPREV), nullptr);

    const Pixels b = CaptureClient(Balloon());
    const int w = b.width, h = b.height;
    EXPECT_EQ(b.At(10, 12), kFrameColours[0]);
    EXPECT_EQ(b.At(w - 2, 1), kYellow);
    EXPECT_EQ(b.At(w / 2, 0), kBlack);
    EXPECT_EQ(b.At(w - 13, h - 1), kBlack);
    for (int x = w - 12; x < w - 8; ++x) EXPECT_EQ(b.At(x, h - 1), kYellow) << x;
    EXPECT_EQ(b.At(w - 8, h - 1), kBlack);
    const Pixels p = CaptureClient(Pane());
    EXPECT_EQ(p.At(4, 1), kYellow);
    EXPECT_EQ(p.At(12, 6), kBlack);
    EXPECT_NE(p.At(30, 1), kYellow);
}

TEST_F(TestCommand, OnlyTheAnimationTimerStepsTheFrameRepaintingItsAreaUntilTheTimeIsUp) {
    FillForm({.strip = {4, 20, 24}, .loop = true});
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

// A second Test replaces the first and restarts the sound; closing the
// builder mid-performance stops it.
TEST_F(TestCommand, ASecondTestReplacesTheFirstAndClosingTheBuilderEndsIt) {
    FillForm({.strip = {4, 20, 24}, .withSound = true});
    RunTest();
    const HWND first = Balloon();
    Tick();
    const int stops = sound.stops;
    RunTest();
    EXPECT_FALSE(IsWindow(first));
    ASSERT_EQ(Running(), 1u);
    EXPECT_EQ(Shown().Stepper().CurrentFrame(), 0);
    EXPECT_GT(sound.stops, stops);
    EXPECT_EQ(Manager().SoundOwner(), &Shown());
    EXPECT_EQ(sound.played.size(), 2u);
    const HWND second = Balloon();
    const int playing = sound.stops;
    builder.reset();
    EXPECT_GT(sound.stops, playing);
    EXPECT_FALSE(IsWindow(second));
}

TEST_F(TestCommand, AnyButtonOnTheBalloonOrPaneOrAMoveOfThePaneEndsItAndItsSound) {
    FillForm({.strip = {4, 20, 24}, .withSound = true});
    const struct {
        bool onPane;
        UINT message;  // WM_MOVE: the pane is moved
    } cases[] = {{false, WM_LBUTTONDOWN}, {false, WM_MBUTTONDOWN}, {false, WM_RBUTTONDOWN},
                 {true, WM_LBUTTONDOWN},  {true, WM_MBUTTONDOWN},  {true, WM_RBUTTONDOWN}, {true, WM_MOVE}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.onPane << " " << c.message);
        RunTest();
        const HWND balloon = Balloon();
        const int stops = sound.stops;
        if (c.message == WM_MOVE) {
            const Point at = builder->previewPaneOrigin;
            SetWindowPos(Pane(), nullptr, at.x + 1, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            SetWindowPos(Pane(), nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        } else {
            SendMessageA(c.onPane ? Pane() : balloon, c.message, 0, MAKELPARAM(5, 5));
        }
        EXPECT_EQ(Running(), 0u);
        EXPECT_FALSE(IsWindow(balloon));
        EXPECT_EQ(sound.stops, stops + 1);
    }
    EXPECT_TRUE(TimerRunning()) << "the next tick finds the list empty";
    Tick();
    EXPECT_FALSE(TimerRunning());
}

TEST_F(TestCommand, TestsCycleThroughTheBalloonColoursLeavingDirtyAndCaption) {
    FillForm({.strip = {4, 20, 24}});
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

TEST_F(TestCommand, TwoHundredTestsAndClicksGiveBackEveryObject) {
    FillForm({.strip = {4, 20, 24}, .withSound = true});
    const auto round = [&](int i) {
        RunTest();
        Tick();
        UpdateWindow(Balloon());
        UpdateWindow(Pane());
        if (i % 3 == 0) SendMessageA(Balloon(), WM_LBUTTONDOWN, 0, 0);
        if (i % 3 == 1) SendMessageA(Pane(), WM_RBUTTONDOWN, 0, 0);
    };
    const auto settle = [&] {
        SendMessageA(Pane(), WM_LBUTTONDOWN, 0, 0);
        Tick();
        Pump(20);
    };
    // The first round creates what the platform keeps for the rest of the run.
    round(0);
    settle();
    const int gdi = GdiObjectCount(), user = UserObjectCount();
    for (int i = 1; i <= 200; ++i) round(i);
    settle();
    EXPECT_EQ(Running(), 0u);
    EXPECT_EQ(GdiObjectCount(), gdi);
    EXPECT_EQ(UserObjectCount(), user);
}

}  // namespace
}  // namespace qx::test
