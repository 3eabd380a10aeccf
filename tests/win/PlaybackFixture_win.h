// Gestures, strips and pixel reads for the playback tests: real balloons in
// a real builder window, with the sound seam recording.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "BuilderFixture_win.h"
#include "tests/support/GestureBytes.h"
#include "gesture/Gesture.h"
#include "playback/Duration.h"
#include "playback/PerformanceManager_win.h"
#include "playback/PreviewPane_win.h"
#include "support/GifWriter.h"

namespace qx::test {

// Each frame of a test strip is one solid colour, so a pixel tells the frame shown.
inline constexpr std::uint32_t kFrameColours[] = {0xE00000, 0x00A000, 0x0000E0, 0xC0C000,
                                                  0x00C0C0, 0xC000C0, 0x804000, 0x004080};

inline Bytes StripGif(int frames, int frameWidth, int height) {
    GifFrame frame;
    frame.width = frames * frameWidth;
    frame.height = height;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < frame.width; ++x) frame.pixels.push_back(static_cast<std::uint8_t>(x / frameWidth % 8));
    }
    return WriteGif({std::begin(kFrameColours), std::end(kFrameColours)}, {frame});
}

// A playable gesture built in memory, as Gesture::Load would leave it: a
// strip of 20 x 24 frames.
inline Gesture MakeGesture(int frames, std::uint8_t flags, std::size_t audioBytes = 0) {
    Gesture g;
    g.name = "Wave";
    g.flags = flags;
    g.frameWidth = 20;
    g.imageData = StripGif(frames, 20, 24);
    g.imageLength = static_cast<std::int32_t>(g.imageData.size());
    if (audioBytes) {
        g.audioData = Pattern(audioBytes, static_cast<unsigned>(audioBytes));
        g.audioLength = static_cast<std::int32_t>(audioBytes);
    }
    return g;
}

// Live GDI objects of this process. Where the platform does not count them
// (Wine), the GDI handle table is probed.
inline int GdiObjectCount() {
    if (const DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return static_cast<int>(n);
    int count = 0;
    for (ULONG_PTR index = 1; index < 0x10000; ++index) {
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(index))) ++count;
    }
    return count;
}

// The builder with a strip, a button and a sound on disk, and the form
// filled in for a Test.
class PlaybackBuilderTest : public BuilderTest {
protected:
    // A strip of four 20 x 24 frames.
    struct FormSetup {
        bool loop = false;  // back to frame 0
        bool withSound = false;
    };

    void FillForm(const FormSetup& form) {
        Type(IDC_ANIMATION_FILE, dir.Write("strip.gif", StripGif(4, 20, 24)));
        Type(IDC_BUTTON_IMAGE_FILE, dir.Write("button.gif", StripGif(1, 20, 20)));
        Type(IDC_DISPLAYED_NAME, "Wave");
        Type(IDC_FRAME_WIDTH, "20");
        SetChecked(IDC_IMAGE_LOOP, form.loop);
        if (form.loop) Type(IDC_BACK_TO_FRAME, "0");
        Type(IDC_AUDIO_FILE, form.withSound ? dir.Write("sound.wav", Pattern(3000, 9)) : "");
        if (form.withSound) Type(IDC_AUDIO_START_FRAME, "0");
    }

    void RunTest() const { Command(ID_TOOLS_TEST); }
    void Tick(WPARAM id = kAnimationTimerId) const { SendMessageA(builder->hwnd(), WM_TIMER, id, 0); }

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
    // A child of the builder at the pane's place moved by (dx, dy), on top of
    // its siblings: another anchor, or a cover over the pane. SS_NOTIFY: a
    // plain static is transparent to WindowFromPoint.
    HWND MakeChild(int dx, int dy, int width, int height) const {
        const Point at = builder->previewPaneOrigin;
        const HWND child = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_NOTIFY, at.x + dx, at.y + dy,
                                           width, height, builder->hwnd(), nullptr, GetModuleHandleA(nullptr), nullptr);
        SetWindowPos(child, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        return child;
    }

    TempDir dir;
};

}  // namespace qx::test
