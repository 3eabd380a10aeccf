// Support for tests that drive real windows under Wine: scripted seams for
// message boxes, file dialogs and sound, a message pump, and pixel reads.
#pragma once

#include <windows.h>

#include <algorithm>
#include <deque>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/Gdi_win.h"
#include "platform/Seams_win.h"
#include "tests/support/TestFiles.h"

namespace qx::test {

struct ShownMessage {
    std::string text;
    UINT type = 0;
};

// Records every message box and answers from a script; an unscripted box
// is answered with OK (or Cancel when it asks a question).
class ScriptedMessageBox final : public MessageBoxSeam {
public:
    int Show(HWND, const std::string& text, const std::string&, UINT type) override {
        shown.push_back({text, type});
        if (answers.empty()) return (type & MB_TYPEMASK) == MB_OK ? IDOK : IDCANCEL;
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const auto& m : shown) texts.push_back(m.text);
        return texts;
    }

    std::vector<ShownMessage> shown;
    std::deque<int> answers;
};

// Records every request and answers from a script; an unscripted dialog is
// cancelled.
class ScriptedFileDialogs final : public FileDialogSeam {
public:
    std::optional<FileChoice> Ask(HWND, const FileDialogRequest& request) override {
        asked.push_back(request);
        if (answers.empty()) return std::nullopt;
        const auto answer = answers.front();
        answers.pop_front();
        return answer;
    }
    // The file name is what follows the last backslash.
    void Choose(const std::string& path) {
        answers.push_back(FileChoice{path, path.substr(path.find_last_of('\\') + 1)});
    }

    std::vector<FileDialogRequest> asked;
    std::deque<std::optional<FileChoice>> answers;
};

class RecordingSound final : public SoundSeam {
public:
    bool Play(const void* bytes, std::size_t length) override {
        const auto* p = static_cast<const unsigned char*>(bytes);
        played.emplace_back(p, p + length);
        return true;
    }
    void Stop() override { ++stops; }

    std::vector<std::vector<unsigned char>> played;
    int stops = 0;
};

// Installs the three scripted seams for the length of each test.
class SeamTest : public ::testing::Test {
protected:
    void SetUp() override { Install(&messages, &files, &sound); }
    void TearDown() override { Install(nullptr, nullptr, nullptr); }
    static void Install(MessageBoxSeam* box, FileDialogSeam* dialogs, SoundSeam* player) {
        InstallMessageBoxSeam(box);
        InstallFileDialogSeam(dialogs);
        InstallSoundSeam(player);
    }

    ScriptedMessageBox messages;
    ScriptedFileDialogs files;
    RecordingSound sound;
};

// Runs the message loop (timers and posted messages arrive) until done() is
// true or the time is up; gives done().
template <class Done>
bool PumpUntil(DWORD milliseconds, Done done) {
    const DWORD end = GetTickCount() + milliseconds;
    while (!done()) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        const LONG left = static_cast<LONG>(end - GetTickCount());
        if (left <= 0) return done();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left), QS_ALLINPUT);
    }
    return true;
}

// A file by its full path in the system's code page (the C library's
// narrow file names are; the standard streams' are not).
inline void WriteFileBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr) << path;
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

// COLORREF (red in the low byte) as a pixel read back (0x00RRGGBB).
inline unsigned PixelOf(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

// Pixels of a window's client area or of a canvas as 0x00RRGGBB, row-major.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<unsigned> rgb;
    unsigned At(int x, int y) const { return rgb[static_cast<std::size_t>(y) * width + x]; }
};

// A 32-bit top-down DIB section selected into a memory DC: something to
// paint into and read back pixel by pixel.
class Canvas {
public:
    Canvas(int width, int height) : width_(width), height_(height) {}
    HDC dc() const { return dc_.get(); }
    void Fill(COLORREF colour) {
        GdiFlush();
        std::fill_n(static_cast<unsigned*>(bits_), static_cast<std::size_t>(width_) * height_, PixelOf(colour));
    }
    Pixels Snapshot() const {
        GdiFlush();
        const auto* bits = static_cast<const unsigned*>(bits_);
        Pixels pixels{width_, height_, {bits, bits + static_cast<std::size_t>(width_) * height_}};
        for (auto& p : pixels.rgb) p &= 0xFFFFFF;
        return pixels;
    }

private:
    int width_;
    int height_;
    MemoryDC dc_{nullptr};
    void* bits_ = nullptr;
    OwnedBitmap bitmap_{CreateTopDownBitmap(dc_.get(), width_, height_, &bits_)};
    SelectGuard selected_{dc_.get(), bitmap_.get()};
};

// The client area as the window paints it (PrintWindow into a canvas).
inline Pixels CaptureClient(HWND hwnd) {
    RECT client{};
    GetClientRect(hwnd, &client);
    Canvas canvas(client.right, client.bottom);
    PrintWindow(hwnd, canvas.dc(), PW_CLIENTONLY);
    return canvas.Snapshot();
}

}  // namespace qx::test
