// The palette over many gestures (1000 unless told), each with a 50 KB strip
// and a 30000-byte sound: the directory scan, the first paint (the buttons
// shown read, decoded and drawn), a later paint, and a page of scrolling onto
// rows not read yet and back.
// A Windows program (run it under Wine elsewhere); it prints its timings and
// asserts nothing.
//
//   palette_paint_bench [gestures] [rounds]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/Stopwatch_win.h"
#include "gesture/Gesture.h"
#include "image/GestureImage_win.h"
#include "palette/PaletteWindow_win.h"
#include "win/PaletteGestures_win.h"

namespace {

using qx::bench::Milliseconds;
using qx::bench::Now;

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

std::string MakeDirectory() {
    char base[MAX_PATH + 1] = "";
    GetTempPathA(sizeof base, base);
    const std::string path = std::string(base) + "qxbench-palette-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(path.c_str(), nullptr);
    return path;
}

void WriteGestures(const std::string& directory, int count) {
    using namespace qx::test;
    TestRandom random(7);
    for (int i = 0; i < count; ++i) {
        std::vector<ButtonPixel> marks;
        for (int k = 0; k < 60; ++k) {
            marks.push_back({static_cast<int>(random.Next() % 20), static_cast<int>(random.Next() % 20),
                             static_cast<std::uint8_t>(1 + random.Next() % 3)});
        }
        GestureFields fields;
        fields.name = "Gesture " + std::to_string(i);
        fields.button = ButtonGif({kLightGrey, 0xC02020u + static_cast<unsigned>(i), 0x2020C0, 0x202020}, 0, marks);
        fields.image = Pattern(50 * 1024, static_cast<unsigned>(i));
        fields.audio = Pattern(30000, static_cast<unsigned>(i) + 1);
        char name[32];
        std::snprintf(name, sizeof name, "\\g%04d.qxm", i);
        const Bytes bytes = GestureFileBytes(fields);
        FILE* file = std::fopen((directory + name).c_str(), "wb");
        if (!file) continue;
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }
}

void RemoveScratch(const std::string& directory) {
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((directory + "\\*.qxm").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            DeleteFileA((directory + "\\" + found.cFileName).c_str());
        } while (FindNextFileA(find, &found));
        FindClose(find);
    }
    RemoveDirectoryA(directory.c_str());
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 1000;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 5;
    const std::string directory = MakeDirectory();
    WriteGestures(directory, count);

    qx::PaletteWindow palette;
    std::vector<double> scans, firstPaints, laterPaints, newPages, seenPages, readAheads, aheadPages;
    for (int round = 0; round < rounds; ++round) {
        const LARGE_INTEGER start = Now();
        palette.Refresh(directory);
        const LARGE_INTEGER scanned = Now();
        if (round == 0 && !palette.Create(nullptr, 10, 10, 0)) {
            std::fprintf(stderr, "palette window not created (no display?)\n");
            RemoveScratch(directory);
            return 1;
        }
        // Each round starts at the top, as a fresh palette does.
        SendMessageA(palette.hwnd(), WM_KEYDOWN, VK_HOME, 0);
        ValidateRect(palette.hwnd(), nullptr);
        const LARGE_INTEGER beforePaint = Now();
        RedrawWindow(palette.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        const LARGE_INTEGER painted = Now();
        RedrawWindow(palette.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        const LARGE_INTEGER repainted = Now();
        scans.push_back(Milliseconds(start, scanned));
        firstPaints.push_back(Milliseconds(beforePaint, painted));
        laterPaints.push_back(Milliseconds(painted, repainted));
        if (palette.layout().scrolls) {
            // A page down shows rows not read yet; a page back up shows rows already drawn.
            const LARGE_INTEGER beforePage = Now();
            SendMessageA(palette.hwnd(), WM_KEYDOWN, VK_NEXT, 0);
            UpdateWindow(palette.hwnd());
            const LARGE_INTEGER paged = Now();
            SendMessageA(palette.hwnd(), WM_KEYDOWN, VK_PRIOR, 0);
            UpdateWindow(palette.hwnd());
            const LARGE_INTEGER pagedBack = Now();
            newPages.push_back(Milliseconds(beforePage, paged));
            seenPages.push_back(Milliseconds(paged, pagedBack));
            // At the end, left alone while the page above is read ahead, then up onto it.
            SendMessageA(palette.hwnd(), WM_KEYDOWN, VK_END, 0);
            UpdateWindow(palette.hwnd());
            const LARGE_INTEGER beforeReadAhead = Now();
            while (palette.ReadingAhead()) {
                MSG msg;
                if (GetMessageA(&msg, nullptr, 0, 0) <= 0) break;
                DispatchMessageA(&msg);
            }
            const LARGE_INTEGER readAhead = Now();
            SendMessageA(palette.hwnd(), WM_KEYDOWN, VK_PRIOR, 0);
            UpdateWindow(palette.hwnd());
            const LARGE_INTEGER pagedAhead = Now();
            readAheads.push_back(Milliseconds(beforeReadAhead, readAhead));
            aheadPages.push_back(Milliseconds(readAhead, pagedAhead));
        }
        Pump();
    }
    const qx::PaletteLayout& layout = palette.layout();
    std::printf("palette of %d gestures: %d columns x %d rows, %d rows shown, %d gestures read in %d rounds\n",
                palette.catalogue().Count(), layout.columns, layout.rows, layout.EndVisibleRow(0), palette.ReadCount(),
                rounds);
    std::printf("refresh (directory scan): median %.1f ms\n", Median(scans));
    std::printf("first paint (read + decode + draw what is shown): median %.1f ms, worst %.1f ms\n",
                Median(firstPaints), *std::max_element(firstPaints.begin(), firstPaints.end()));
    std::printf("later paint (cached bitmap): median %.1f ms\n", Median(laterPaints));
    if (!newPages.empty()) {
        std::printf("page down onto unread rows: median %.1f ms; page back up: median %.1f ms\n", Median(newPages),
                    Median(seenPages));
        std::printf("page up onto rows read ahead in idle time: median %.1f ms (the read-ahead took %.1f ms)\n",
                    Median(aheadPages), Median(readAheads));
    }
    // Where a button's time goes: reading its gesture, and drawing its picture.
    const int sample = std::min(count, 1000);
    qx::Gesture gesture;
    const LARGE_INTEGER beforeReads = Now();
    for (int i = 0; i < sample; ++i) {
        gesture.LoadKeeping(directory, palette.catalogue().entries()[static_cast<std::size_t>(i)].fileName, "x",
                            qx::GL_BUTTON);
    }
    const LARGE_INTEGER read = Now();
    HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateCompatibleBitmap(screen, 22, 22);
    ReleaseDC(nullptr, screen);
    const HGDIOBJ old = SelectObject(memory, bitmap);
    const RECT place{1, 1, 21, 21};
    const LARGE_INTEGER beforeDraws = Now();
    for (int i = 0; i < sample; ++i) {
        qx::GestureImage image;
        image.Load(gesture.buttonData.data(), gesture.buttonData.size());
        image.SetTransparency(true, qx::kButtonTransparentColour);
        image.Draw(memory, place);
    }
    const LARGE_INTEGER drawn = Now();
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    std::printf("per button: reading its gesture %.1f us, decoding and drawing its picture %.1f us\n",
                Milliseconds(beforeReads, read) * 1000 / sample, Milliseconds(beforeDraws, drawn) * 1000 / sample);
    RemoveScratch(directory);
    return 0;
}
