// The builder's Test and the performance manager behind it: real balloons
// beside the preview pane of a real builder window, stepped by the animation
// timer, ended by time, by a click or by the next Test, with the sound seam
// recording. Each frame of a test strip is one solid colour, so a pixel tells
// the frame shown.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include "BuilderFixture_win.h"
#include "gesture/Gesture.h"
#include "playback/Duration.h"
#include "playback/PerformanceManager_win.h"
#include "playback/PreviewPane_win.h"
#include "tests/support/GifWriter.h"
#include "tests/support/GestureBytes.h"

namespace qx::test {
namespace {

constexpr std::uint32_t kFrameColours[] = {0xE00000, 0x00A000, 0x0000E0, 0xC0C000,
                                           0x00C0C0, 0xC000C0, 0x804000, 0x004080};
constexpr unsigned kYellow = 0xFFFF80;  // the second balloon colour
constexpr char kText[] = "This is a test\nof the gesture.";

// A strip of `frames` frames of frameWidth x height (at most eight).
Bytes StripGif(int frames, int frameWidth, int height) {
    GifFrame frame;
    frame.width = frames * frameWidth;
    frame.height = height;
    for (int i = 0; i < frame.width * height; ++i)
        frame.pixels.push_back(static_cast<std::uint8_t>(i % frame.width / frameWidth));
    return WriteGif({std::begin(kFrameColours), std::end(kFrameColours)}, {frame});
}

// A playable gesture in memory: a strip of 20 x 24 frames.
Gesture MakeGesture(int frames, std::uint8_t flags, std::size_t audioBytes = 0) {
    Gesture g;
    g.flags = flags;
    g.frameWidth = 20;
    g.imageData = StripGif(frames, 20, 24);
    g.audioData = Pattern(audioBytes, static_cast<unsigned>(audioBytes));
    return g;
}

// Live GDI objects of this process. Where the platform does not count them
// (Wine), the GDI handle table is probed.
int GdiObjectCount() {
    if (const DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return static_cast<int>(n);
    int count = 0;
    for (ULONG_PTR index = 1; index < 0x10000; ++index) count += GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0;
    return count;
}

class Playback : public BuilderFileTest {
protected:
    // The form filled in for a Test of a strip of four 20 x 24 frames.
    void FillForm(bool withSound = false) {
        Type(IDC_ANIMATION_FILE, dir.Write("strip.gif", StripGif(4, 20, 24)));
        Type(IDC_BUTTON_IMAGE_FILE, dir.Write("button.gif", StripGif(1, 20, 20)));
        Type(IDC_DISPLAYED_NAME, "Wave");
        Type(IDC_FRAME_WIDTH, "20");
        Type(IDC_AUDIO_FILE, withSound ? dir.Write("sound.wav", Pattern(3000, 9)) : "");
        if (withSound) Type(IDC_AUDIO_START_FRAME, "0");
    }
    // A performance started on the manager directly, in the second colour.
    void Start(const Gesture* gesture) {
        Manager().Start(Pane(), builder->hwnd(), 23, RGB(255, 255, 128), 8, kText, gesture);
    }
    void Tick() const { SendMessageA(builder->hwnd(), WM_TIMER, kAnimationTimerId, 0); }

    PerformanceManager& Manager() const { return *builder->performanceManager; }
    HWND Pane() const { return builder->previewPane->hwnd(); }
    std::size_t Running() const { return Manager().Entries().size(); }
    Performance& Shown() const { return *Manager().Entries().at(0)->performance; }
    HWND Balloon() const { return Shown().hwnd(); }
    bool TimerRunning() const {
        // Killing an absent timer fails; a running one is set again at once.
        if (!KillTimer(builder->hwnd(), kAnimationTimerId)) return false;
        SetTimer(builder->hwnd(), kAnimationTimerId, kAnimationTimerPeriodMs, nullptr);
        return true;
    }
    // The wider of the test text's two lines in the balloon's font, with its margins.
    int TextWidth() const {
        const WindowDC dc(Balloon());
        const SelectGuard font(dc.get(), Shown().Font());
        SIZE first{}, second{};
        GetTextExtentPoint32A(dc.get(), "This is a test", 14, &first);
        GetTextExtentPoint32A(dc.get(), "of the gesture.", 15, &second);
        return std::max(first.cx, second.cx) + 6;
    }
};

// An invalid field stops the Test before it takes a colour. Tests cycle
// through the balloon colours leaving the dirty mark and the caption alone;
// the balloon stands above-left of the pane, on top of its siblings, with the
// frame in its top left, the outline's gap over the pane and the tail in the
// pane's corner (their shapes are the balloon geometry's).
TEST_F(Playback, TestShowsTheBalloonInTheNextColourAndTheTimerStepsItUntilTheTimeIsUp) {
    FillForm();
    Type(IDC_FRAME_WIDTH, "0");
    Command(ID_TOOLS_TEST);
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"Frame width must be between 1 to 255"});
    EXPECT_EQ(std::make_tuple(Running(), TimerRunning(), builder->balloonColourIndex), std::make_tuple(0u, false, 0));
    Type(IDC_FRAME_WIDTH, "20");
    const std::string caption = Caption();
    for (COLORREF colour : {RGB(255, 255, 255), RGB(255, 255, 128), RGB(255, 255, 255), RGB(128, 255, 255),
                            RGB(255, 255, 255), RGB(128, 255, 128), RGB(255, 255, 255)}) {
        const int dirty = builder->model.dirty = !builder->model.dirty;
        Command(ID_TOOLS_TEST);
        EXPECT_EQ(std::make_tuple(builder->model.dirty, Caption(), Shown().Colour()),
                  std::make_tuple(dirty, caption, colour));
    }

    Command(ID_TOOLS_TEST);  // yellow: a colour the avatar and the form do not use
    ASSERT_EQ(Running(), 1u);
    EXPECT_EQ(Shown().Text(), kText);
    LOGFONTA font{};
    ASSERT_NE(GetObjectA(Shown().Font(), sizeof font, &font), 0);
    EXPECT_EQ(font.lfHeight, MulDiv(8, GetDeviceCaps(WindowDC(nullptr).get(), LOGPIXELSY), 72));
    const Rect placed = ScreenRect(Balloon()), pane = ScreenRect(Pane());
    EXPECT_EQ((std::vector<int>{placed.Width(), placed.right, placed.bottom}),
              (std::vector<int>{20 + TextWidth(), pane.left + 20, pane.top + 7}));
    EXPECT_EQ(GetWindow(Balloon(), GW_HWNDPREV), nullptr);
    const Pixels b = CaptureClient(Balloon());
    EXPECT_EQ((std::vector<unsigned>{b.At(10, 12), b.At(b.width / 2, 0), b.At(b.width - 10, b.height - 1),
                                     CaptureClient(Pane()).At(4, 1)}),
              (std::vector<unsigned>{kFrameColours[0], 0u, kYellow, kYellow}));

    // The animation timer steps the frame, repainting its area, until the time is up.
    const HWND balloon = Balloon();
    UpdateWindow(balloon);
    RECT update{};
    Tick();
    ASSERT_TRUE(GetUpdateRect(balloon, &update, FALSE));
    EXPECT_EQ(ToRect(update), (Rect{1, 1, 19, 23}));
    UpdateWindow(balloon);
    EXPECT_EQ(CaptureClient(balloon).At(10, 12), kFrameColours[1]);
    for (int tick = 2; tick < 30; ++tick) Tick();
    ASSERT_EQ(Running(), 1u);
    Tick();  // the 30th: 23 ticks lengthened by the 30 characters of the text
    EXPECT_EQ(std::make_tuple(Running(), IsWindow(balloon), TimerRunning()), std::make_tuple(0u, FALSE, false));
    EXPECT_TRUE(GetUpdateRect(Pane(), &update, FALSE)) << "the pane repaints without the tail";
}

// Every end takes the balloon and stops the sound: the next Test (which
// starts again at frame 0 and takes the sound), a button on the balloon or
// the pane (one of the buttons each handles alike), a move of the pane and
// closing the builder. Run twice, the second
// round gives back every GDI object; the first creates what the platform
// keeps for the rest of the run.
TEST_F(Playback, EveryEndTakesTheBalloonAndTheSoundAndGivesBackItsObjects) {
    FillForm(true);
    const std::pair<bool, UINT> clicks[] = {{true, WM_MBUTTONDOWN}, {false, WM_RBUTTONDOWN}, {false, WM_MOVE}};
    int gdi = 0;
    for (int round = 0; round < 2; ++round) {
        Command(ID_TOOLS_TEST);
        Tick();
        const HWND first = Balloon();
        const int stops = sound.stops;
        const std::size_t plays = sound.played.size();
        Command(ID_TOOLS_TEST);
        EXPECT_FALSE(IsWindow(first));
        ASSERT_EQ(Running(), 1u);
        EXPECT_EQ(std::make_tuple(Shown().Stepper().CurrentFrame(), Manager().SoundOwner(), sound.played.size()),
                  std::make_tuple(0, &Shown(), plays + 1));
        EXPECT_EQ(sound.stops, stops + 2) << "the old one's sound, then whatever plays before the new one starts";
        for (const auto& [onBalloon, message] : clicks) {
            SCOPED_TRACE(testing::Message() << round << " " << onBalloon << " " << message);
            Command(ID_TOOLS_TEST);
            Tick();
            UpdateWindow(Pane());
            const HWND balloon = Balloon();
            const int before = sound.stops;
            SendMessageA(onBalloon ? balloon : Pane(), message, 0, MAKELPARAM(5, 5));
            EXPECT_EQ(std::make_tuple(IsWindow(balloon), Running(), sound.stops),
                      std::make_tuple(FALSE, 0u, before + 1));
        }
        PumpUntil(20, [] { return false; });
        if (round == 0) gdi = GdiObjectCount();
    }
    EXPECT_EQ(GdiObjectCount(), gdi);
    Command(ID_TOOLS_TEST);
    const HWND last = Balloon();
    const int stops = sound.stops;
    builder.reset();
    EXPECT_EQ(sound.stops, stops + 1);
    EXPECT_FALSE(IsWindow(last));
}

// Placement that finds no corner visible shows nothing and stops the sound
// setup started.
TEST_F(Playback, NoCornerVisibleShowsNothingAndStopsTheSound) {
    // A child of the builder over the pane, on top of its siblings.
    // SS_NOTIFY: a plain static is transparent to WindowFromPoint.
    const Point at = builder->previewPaneOrigin;
    const HWND cover = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_NOTIFY, at.x - 2, at.y - 2, 52, 68,
                                       builder->hwnd(), nullptr, GetModuleHandleA(nullptr), nullptr);
    SetWindowPos(cover, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
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

// The transparent colour shows the balloon colour. A picture that does not
// decode plays its text alone, its frame area in the balloon colour, and
// finishes at once.
TEST_F(Playback, TransparentAndUndecodablePicturesShowTheBalloonColour) {
    Gesture g = MakeGesture(4, GF_TRANSPARENT);
    g.transparentColour = RGB(0x00, 0xA0, 0x00);  // frame 1's colour
    Start(&g);
    Tick();
    EXPECT_EQ(CaptureClient(Balloon()).At(10, 12), kYellow);
    Tick();
    EXPECT_EQ(CaptureClient(Balloon()).At(10, 12), kFrameColours[2]);

    g.flags = 0;
    g.imageData = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x00, 0, 0};  // table size field too small
    Start(&g);
    ASSERT_EQ(Running(), 1u);
    EXPECT_EQ(std::make_tuple(Shown().StripWidth(), Shown().WindowSize().width), std::make_tuple(0, TextWidth() + 20));
    const Pixels before = CaptureClient(Balloon());
    EXPECT_EQ(before.At(5, 12), kYellow);
    Tick();
    EXPECT_TRUE(Shown().Stepper().Has(PF_FINISHED));
    EXPECT_EQ(CaptureClient(Balloon()).rgb, before.rgb);
}

}  // namespace
}  // namespace qx::test
