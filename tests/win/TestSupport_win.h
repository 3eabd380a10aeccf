// Support for tests that drive real windows under Wine: scripted seams for
// message boxes, file dialogs and sound, a message pump, and pixel reads.
#pragma once

#include <windows.h>

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/Seams_win.h"

namespace qx::test {

struct ShownMessage {
    std::string text;
    std::string caption;
    UINT type = 0;
};

// Records every message box and answers from a script; an unscripted box
// is answered with OK (or Cancel when it asks a question).
class ScriptedMessageBox final : public MessageBoxSeam {
public:
    int Show(HWND owner, const std::string& text, const std::string& caption, UINT type) override;
    void Answer(int answer) { answers.push_back(answer); }
    std::vector<std::string> Texts() const;

    std::vector<ShownMessage> shown;
    std::deque<int> answers;
};

class ScriptedFileDialogs final : public FileDialogSeam {
public:
    std::optional<FileChoice> Ask(HWND owner, const FileDialogRequest& request) override;
    void Choose(const std::string& path);  // file name taken after the last backslash
    void Cancel() { answers.push_back(std::nullopt); }

    std::vector<FileDialogRequest> asked;
    std::deque<std::optional<FileChoice>> answers;
};

class RecordingSound final : public SoundSeam {
public:
    bool Play(const void* bytes, std::size_t length) override;
    void Stop() override { ++stops; }

    std::vector<std::vector<unsigned char>> played;
    int stops = 0;
};

// Installs the three scripted seams for the length of each test.
class SeamTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    ScriptedMessageBox messages;
    ScriptedFileDialogs files;
    RecordingSound sound;
};

// Runs the message loop for the given time (timers and posted messages
// arrive), or until done() is true.
void Pump(DWORD milliseconds);
template <class Done>
bool PumpUntil(DWORD milliseconds, Done done) {
    const DWORD end = GetTickCount() + milliseconds;
    while (!done()) {
        if (static_cast<LONG>(GetTickCount() - end) >= 0) return false;
        Pump(10);
    }
    return true;
}

// A directory of the test's own under the user's temporary directory,
// removed with its files at the end.
class ScratchDirectory {
public:
    ScratchDirectory();
    ~ScratchDirectory();
    const std::string& path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

void WriteFileBytes(const std::string& path, const std::vector<unsigned char>& bytes);
std::vector<unsigned char> ReadFileBytes(const std::string& path);
bool FileExists(const std::string& path);

// Pixels of a window's client area as 0x00RRGGBB, row-major, read back
// through PrintWindow into a 32-bit DIB section.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<unsigned> rgb;
    unsigned At(int x, int y) const { return rgb[static_cast<std::size_t>(y) * width + x]; }
};
// A 32-bit top-down DIB section selected into a memory DC compatible with
// the screen: something to paint into and read back pixel by pixel.
class Canvas {
public:
    Canvas(int width, int height);
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    ~Canvas();
    HDC dc() const { return dc_; }
    int width() const { return width_; }
    int height() const { return height_; }
    void Fill(COLORREF colour);
    unsigned At(int x, int y) const;  // 0x00RRGGBB
    Pixels Snapshot() const;
    static unsigned Rgb(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

private:
    int width_;
    int height_;
    HDC dc_;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    unsigned* bits_ = nullptr;
};

Pixels CaptureClient(HWND hwnd);

}  // namespace qx::test
