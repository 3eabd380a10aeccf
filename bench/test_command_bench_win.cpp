// The builder's Test, from the command to the balloon shown and painted, for
// a 40-frame strip of 64 x 64 pixels (256 colours) and a 30000-byte sound:
// the save to the temporary gesture, the load back, the strip's decode, the
// sound copy, placement and the first paint. A Windows program (run it under
// Wine elsewhere); it prints its timings and asserts nothing.
//
//   bench_test_command [rounds]
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/Stopwatch_win.h"
#include "app/BuilderDialog_win.h"
#include "platform/Seams_win.h"
#include "playback/Performance_win.h"
#include "tests/support/GifWriter.h"

namespace {

using qx::bench::Milliseconds;
using qx::bench::Now;

void Pump(DWORD milliseconds) {
    const DWORD end = GetTickCount() + milliseconds;
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        Sleep(1);
    } while (static_cast<LONG>(GetTickCount() - end) < 0);
}

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return;
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

// Forty frames of 64 x 64, each a different pattern over 256 colours.
std::vector<std::uint8_t> StripGif() {
    using namespace qx::test;
    std::vector<std::uint32_t> colours;
    TestRandom random(3);
    for (int i = 0; i < 256; ++i) colours.push_back(random.Next() & 0xFFFFFF);
    GifFrame frame;
    frame.width = 40 * 64;
    frame.height = 64;
    for (int y = 0; y < frame.height; ++y) {
        for (int x = 0; x < frame.width; ++x) {
            const int f = x / 64;
            const int dx = x % 64 - 32;
            const int dy = y - 32;
            frame.pixels.push_back(static_cast<std::uint8_t>((dx * dx + dy * dy) / (8 + f) + f * 5));
        }
    }
    return WriteGif(colours, {frame});
}

// A WAVE image of 30000 bytes: 8-bit mono silence.
std::vector<std::uint8_t> Sound() {
    const std::uint32_t data = 30000 - 44;
    std::vector<std::uint8_t> w;
    auto text = [&](const char* s) { w.insert(w.end(), s, s + 4); };
    auto u32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) w.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    auto u16 = [&](std::uint16_t v) {
        w.push_back(static_cast<std::uint8_t>(v));
        w.push_back(static_cast<std::uint8_t>(v >> 8));
    };
    text("RIFF");
    u32(30000 - 8);
    text("WAVE");
    text("fmt ");
    u32(16);
    u16(1);
    u16(1);
    u32(11025);
    u32(11025);
    u16(1);
    u16(8);
    text("data");
    u32(data);
    w.resize(30000, 0x80);
    return w;
}

class SilentSound final : public qx::SoundSeam {
public:
    bool Play(const void*, std::size_t) override { return true; }
    void Stop() override {}
};

class AnswerOk final : public qx::MessageBoxSeam {
public:
    int Show(HWND, const std::string& text, const std::string&, UINT) override {
        std::fprintf(stderr, "message: %s\n", text.c_str());
        return IDOK;
    }
};

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    SilentSound sound;
    AnswerOk messages;
    qx::InstallSoundSeam(&sound);
    qx::InstallMessageBoxSeam(&messages);

    char base[MAX_PATH + 1] = "";
    GetTempPathA(sizeof base, base);
    const std::string directory = std::string(base) + "qxbench-test-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(directory.c_str(), nullptr);
    const std::string strip = directory + "\\strip.gif";
    const std::string button = directory + "\\button.gif";
    const std::string wave = directory + "\\sound.wav";
    const std::vector<std::uint8_t> stripBytes = StripGif();
    WriteFile(strip, stripBytes);
    WriteFile(button, qx::test::WriteGif({0xC0C0C0, 0x000080}, {{20, 20, std::vector<std::uint8_t>(400, 1)}}));
    WriteFile(wave, Sound());

    qx::BuilderDialog builder;
    if (!builder.CreateModeless(nullptr)) {
        std::fprintf(stderr, "no builder window (is there a display?)\n");
        return 1;
    }
    const HWND window = builder.hwnd();
    SetWindowTextA(GetDlgItem(window, IDC_ANIMATION_FILE), strip.c_str());
    SetWindowTextA(GetDlgItem(window, IDC_BUTTON_IMAGE_FILE), button.c_str());
    SetWindowTextA(GetDlgItem(window, IDC_AUDIO_FILE), wave.c_str());
    SetWindowTextA(GetDlgItem(window, IDC_DISPLAYED_NAME), "Bench");
    SetWindowTextA(GetDlgItem(window, IDC_FRAME_WIDTH), "64");
    Pump(200);

    std::vector<double> shown;
    std::vector<double> painted;
    for (int round = 0; round < rounds; ++round) {
        const LARGE_INTEGER start = Now();
        SendMessageA(window, WM_COMMAND, ID_TOOLS_TEST, 0);
        const HWND balloon = FindWindowExA(window, nullptr, qx::BalloonWindow::ClassName(), nullptr);
        const LARGE_INTEGER visible = Now();
        if (!balloon || !IsWindowVisible(balloon)) {
            std::fprintf(stderr, "round %d: no balloon shown\n", round);
            return 1;
        }
        UpdateWindow(balloon);
        const LARGE_INTEGER done = Now();
        shown.push_back(Milliseconds(start, visible));
        painted.push_back(Milliseconds(start, done));
        Pump(20);
    }
    // The first round also loads what the process keeps afterwards (fonts, classes).
    const double first = painted.front();
    std::sort(shown.begin(), shown.end());
    std::sort(painted.begin(), painted.end());
    const auto median = [](const std::vector<double>& v) { return v[v.size() / 2]; };
    std::printf("Test to balloon, strip 40 x 64x64 (%zu bytes), sound 30000 bytes, %d rounds\n", stripBytes.size(),
                rounds);
    std::printf("  %-22s %9s %9s %9s\n", "", "min ms", "median ms", "max ms");
    std::printf("  %-22s %9.2f %9.2f %9.2f\n", "shown (Test returned)", shown.front(), median(shown), shown.back());
    std::printf("  %-22s %9.2f %9.2f %9.2f\n", "shown and painted", painted.front(), median(painted),
                painted.back());
    std::printf("  first round, painted: %.2f ms\n", first);

    DeleteFileA(strip.c_str());
    DeleteFileA(button.c_str());
    DeleteFileA(wave.c_str());
    builder.End(IDCANCEL);
    RemoveDirectoryA(directory.c_str());
    qx::InstallSoundSeam(nullptr);
    qx::InstallMessageBoxSeam(nullptr);
    return 0;
}
