// The builder's Test: a balloon beside the preview pane, stepped by the
// animation timer on the builder window, ended by time, by a click or by the
// next Test.
#include "PlaybackFixture_win.h"

namespace qx::test {
namespace {

using TestCommand = PlaybackBuilderTest;

constexpr char kTestText[] = "This is a test\nof the gesture.";

TEST_F(TestCommand, ShowsBalloonAbovePaneCornerWithGapAndTail) {
    FillForm({.strip = {4, 20, 24}});
    builder->balloonColourIndex = 1;  // light yellow: a colour the avatar and the form do not use
    RunTest();
    ASSERT_EQ(Running(), 1u);
    Performance& shown = Shown();
    EXPECT_TRUE(IsWindowVisible(Balloon()));
    EXPECT_EQ(shown.Colour(), RGB(255, 255, 128));
    EXPECT_EQ(shown.Text(), kTestText);

    // The font: a cell height of 8 points, the swiss family, the platform's face.
    LOGFONTA font{};
    ASSERT_NE(GetObjectA(shown.Font(), sizeof font, &font), 0);
    HDC screen = GetDC(nullptr);
    const int cellHeight = MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(font.lfHeight, cellHeight);
    EXPECT_EQ(font.lfClipPrecision, 0x12);
    EXPECT_EQ(font.lfPitchAndFamily, FF_SWISS);

    // Size: the frame left of the two measured lines, 3 pixels of margin round the text.
    HDC dc = GetDC(Balloon());
    HGDIOBJ old = SelectObject(dc, shown.Font());
    SIZE line{};
    GetTextExtentPoint32A(dc, "of the gesture.", 15, &line);
    SelectObject(dc, old);
    ReleaseDC(Balloon(), dc);
    const int width = 20 + TextWidth();
    const int height = std::max(24L, line.cy * 2 + 6);
    const Rect balloon = WindowRectOf(Balloon());
    EXPECT_EQ(balloon.Width(), width);
    EXPECT_EQ(balloon.Height(), height);

    // Place: plenty of room above and to the left, so above-left, reaching
    // 20 pixels past the pane's left edge and 7 below its top.
    const Rect pane = WindowRectOf(Pane());
    EXPECT_EQ(shown.Side(), BalloonSide::AboveLeft);
    EXPECT_EQ(balloon.left, pane.left + 20 - width);
    EXPECT_EQ(balloon.top, pane.top + 7 - height);
    EXPECT_EQ(GetWindow(Balloon(), GW_HWNDPREV), nullptr) << "the balloon is on top of its siblings";

    // Pixels: the frame at the top left, the colour elsewhere inside, the
    // outline with its gap 8 to 12 pixels from the right end of the bottom edge.
    const Pixels b = CaptureClient(Balloon());
    ASSERT_EQ(b.width, width);
    EXPECT_EQ(b.At(10, 12), kFrameColours[0]);
    EXPECT_EQ(b.At(width - 2, 1), 0xFFFF80u);
    EXPECT_EQ(b.At(0, height / 2), kBlack);
    EXPECT_EQ(b.At(width - 1, height / 2), kBlack);
    EXPECT_EQ(b.At(width / 2, 0), kBlack);
    EXPECT_EQ(b.At(width - 13, height - 1), kBlack);
    for (int x = width - 12; x < width - 8; ++x) EXPECT_EQ(b.At(x, height - 1), 0xFFFF80u) << x;
    EXPECT_EQ(b.At(width - 8, height - 1), kBlack);

    // The tail: in the pane's top-left corner, filled with the colour, its
    // long side from (6,0) to (18,12) in black.
    const Pixels p = CaptureClient(Pane());
    EXPECT_EQ(p.At(4, 1), 0xFFFF80u);
    EXPECT_EQ(p.At(12, 6), kBlack);
    EXPECT_EQ(p.At(17, 11), kBlack);
    EXPECT_NE(p.At(30, 1), 0xFFFF80u);
}

TEST_F(TestCommand, EachTickStepsTheFrameAndRepaintsOnlyItsAreaOtherTimersDoNothing) {
    FillForm({.strip = {4, 20, 24}, .loop = true, .backToFrame = 0});
    RunTest();
    ASSERT_EQ(Running(), 1u);
    const HWND balloon = Balloon();
    UpdateWindow(balloon);
    RECT update{};
    for (WPARAM id : {WPARAM{0}, WPARAM{1}, WPARAM{999}, WPARAM{1001}}) Tick(id);  // other timers
    EXPECT_EQ(Shown().Stepper().CurrentFrame(), 0);
    EXPECT_EQ(Manager().Entries()[0]->clock.TickCount(), 0);
    EXPECT_FALSE(GetUpdateRect(balloon, &update, FALSE));
    for (int tick = 1; tick <= 29; ++tick) {
        Tick();
        ASSERT_EQ(Running(), 1u) << tick;
        EXPECT_EQ(Shown().Stepper().CurrentFrame(), tick % 4) << tick;
        ASSERT_TRUE(GetUpdateRect(balloon, &update, FALSE)) << tick;
        EXPECT_EQ(update.left, 1);
        EXPECT_EQ(update.top, 1);
        EXPECT_EQ(update.right, 19);
        EXPECT_EQ(update.bottom, 23);
        UpdateWindow(balloon);
        EXPECT_EQ(CaptureClient(balloon).At(10, 12), kFrameColours[tick % 4]) << tick;
    }
    EXPECT_TRUE(TimerRunning());
    Tick();  // the 30th: 23 ticks lengthened by the 30 characters of the text
    EXPECT_EQ(Running(), 0u);
    EXPECT_FALSE(IsWindow(balloon));
    EXPECT_EQ(Manager().TimerId(), 0u);
    EXPECT_FALSE(TimerRunning());
    RECT paneUpdate{};
    EXPECT_TRUE(GetUpdateRect(Pane(), &paneUpdate, FALSE)) << "the pane repaints without the tail";
}

TEST_F(TestCommand, ASecondTestReplacesTheFirst) {
    FillForm({.strip = {4, 20, 24}, .withSound = true});
    RunTest();
    const HWND first = Balloon();
    Tick();
    Tick();
    const int stopsBefore = sound.stops;
    RunTest();
    EXPECT_FALSE(IsWindow(first));
    ASSERT_EQ(Running(), 1u);
    EXPECT_NE(Balloon(), first);
    EXPECT_TRUE(IsWindowVisible(Balloon()));
    EXPECT_EQ(Shown().Stepper().CurrentFrame(), 0);
    EXPECT_EQ(Manager().Entries()[0]->clock.TickCount(), 0);
    EXPECT_EQ(Shown().Colour(), RGB(255, 255, 128));
    EXPECT_GT(sound.stops, stopsBefore);
    EXPECT_EQ(Manager().SoundOwner(), &Shown());
    EXPECT_EQ(sound.played.size(), 2u) << "each start plays on frame 0";
    EXPECT_TRUE(TimerRunning());
}

TEST_F(TestCommand, APressOrAMoveEndsThePerformanceAndItsSound) {
    FillForm({.strip = {4, 20, 24}, .withSound = true});
    struct Case {
        const char* what;
        bool onPane;
        UINT message;
    };
    const Case cases[] = {
        {"left button on the balloon", false, WM_LBUTTONDOWN},
        {"middle button on the balloon", false, WM_MBUTTONDOWN},
        {"right button on the balloon", false, WM_RBUTTONDOWN},
        {"left button on the pane", true, WM_LBUTTONDOWN},
        {"middle button on the pane", true, WM_MBUTTONDOWN},
        {"right button on the pane", true, WM_RBUTTONDOWN},
        {"the pane moved", true, WM_MOVE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        builder->balloonColourIndex = 1;
        RunTest();
        ASSERT_EQ(Running(), 1u);
        ASSERT_TRUE(Manager().HasSound());
        const HWND balloon = Balloon();
        UpdateWindow(Pane());
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
        EXPECT_FALSE(Manager().HasSound());
        EXPECT_EQ(sound.stops, stops + 1);
        RECT update{};
        EXPECT_TRUE(GetUpdateRect(Pane(), &update, FALSE));
        EXPECT_NE(CaptureClient(Pane()).At(4, 1), 0xFFFF80u) << "the tail is gone";
    }
    EXPECT_TRUE(TimerRunning()) << "the next tick finds the list empty";
    Tick();
    EXPECT_FALSE(TimerRunning());
}

TEST_F(TestCommand, SevenTestsCycleThroughTheBalloonColoursLeavingDirtyAndCaption) {
    FillForm({.strip = {4, 20, 24}});
    const std::string caption = Caption();
    const COLORREF expected[] = {RGB(255, 255, 255), RGB(255, 255, 128), RGB(255, 255, 255), RGB(128, 255, 255),
                                 RGB(255, 255, 255), RGB(128, 255, 128), RGB(255, 255, 255)};
    for (COLORREF colour : expected) {
        const int dirty = builder->model.dirty = !builder->model.dirty;  // a Test leaves both states as they were
        RunTest();
        ASSERT_EQ(Running(), 1u);
        EXPECT_EQ(builder->model.dirty, dirty);
        EXPECT_EQ(Caption(), caption);
        EXPECT_EQ(Shown().Colour(), colour);
        const Pixels b = CaptureClient(Balloon());
        EXPECT_EQ(b.At(b.width - 2, 1), PixelOf(colour));
        EXPECT_EQ(CaptureClient(Pane()).At(4, 1), PixelOf(colour));
    }
    EXPECT_EQ(builder->balloonColourIndex, 1);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(TestCommand, InvalidFieldsShowSavesMessageAndStartNothing) {
    struct Case {
        int edit;
        std::string value;
        std::string message;
    };
    const Case cases[] = {
        {1004, "", "Displayed name must be specified"},
        {1012, "0", "Frame width must be between 1 to 255"},
        {1012, "256", "Frame width must be between 1 to 255"},
        {1001, "Z:\\no\\such\\strip.gif", "Can not open image file: 'Z:\\no\\such\\strip.gif'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        FillForm({});
        Type(c.edit, c.value);
        const std::size_t shown = messages.shown.size();
        RunTest();
        ASSERT_EQ(messages.shown.size(), shown + 1);
        EXPECT_EQ(messages.shown.back().text, c.message);
        EXPECT_EQ(Running(), 0u);
        EXPECT_FALSE(TimerRunning());
        EXPECT_EQ(builder->balloonColourIndex, 0);
    }
}

TEST_F(TestCommand, ClosingTheBuilderMidPerformanceStopsTheSound) {
    FillForm({.strip = {4, 20, 24}, .withSound = true});
    RunTest();
    ASSERT_EQ(sound.played.size(), 1u);
    const HWND balloon = Balloon();
    const HWND pane = Pane();
    const int stops = sound.stops;
    builder.reset();
    EXPECT_GT(sound.stops, stops);
    EXPECT_FALSE(IsWindow(balloon));
    EXPECT_FALSE(IsWindow(pane));
}

TEST_F(TestCommand, TwoHundredTestsAndClicksGiveBackEveryObject) {
    FillForm({.strip = {4, 20, 24}, .withSound = true});
    // The first Test and paint create what the platform keeps for the rest of the run.
    RunTest();
    UpdateWindow(Balloon());
    UpdateWindow(Pane());
    SendMessageA(Pane(), WM_LBUTTONDOWN, 0, 0);
    Tick();
    Pump(20);
    const int gdi = GdiObjectCount();
    const int user = UserObjectCount();
    ASSERT_GT(gdi, 0);
    ASSERT_GT(user, 0);
    for (int i = 0; i < 200; ++i) {
        RunTest();
        ASSERT_EQ(Running(), 1u);
        Tick();
        UpdateWindow(Balloon());
        UpdateWindow(Pane());
        if (i % 3 == 0) SendMessageA(Balloon(), WM_LBUTTONDOWN, 0, 0);
        if (i % 3 == 1) SendMessageA(Pane(), WM_RBUTTONDOWN, 0, 0);
    }
    SendMessageA(Pane(), WM_LBUTTONDOWN, 0, 0);
    Tick();
    Pump(20);
    EXPECT_EQ(Running(), 0u);
    EXPECT_EQ(GdiObjectCount(), gdi);
    EXPECT_EQ(UserObjectCount(), user);
}

}  // namespace
}  // namespace qx::test
