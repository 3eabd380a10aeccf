// Test in the real qxbuilder.exe: the sample gesture opened from the command
// line, the Test command sent from outside, the balloon seen beside the
// avatar and gone again when its time has run out.
//
// With QX_TEST_SCREENSHOT set to a file name, the builder window is also
// saved there as a 24-bit BMP while the balloon is shown.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

constexpr WPARAM kTest = 32776;
constexpr char kBalloonClass[] = "QxSpeechBalloon";
constexpr char kPaneClass[] = "QxPreviewPane";

std::string WindowsPath(std::string path) {
    if (!path.empty() && path[0] == '/') path = "Z:" + path;
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return path;
}

class RunningBuilder {
public:
    explicit RunningBuilder(const std::string& arguments) {
        std::string command = "\"" + WindowsPath(QX_BUILDER_EXE) + "\" " + arguments;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        started_ = CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                  &process_) != FALSE;
    }
    ~RunningBuilder() {
        if (!started_) return;
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process_.hProcess, 1);
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
    }
    bool Started() const { return started_; }
    bool Exited(DWORD milliseconds) const {
        return WaitForSingleObject(process_.hProcess, milliseconds) == WAIT_OBJECT_0;
    }
    HWND FindCaptioned(const std::string& caption, DWORD milliseconds) const {
        const DWORD end = GetTickCount() + milliseconds;
        do {
            HWND found = FindWindowA(nullptr, caption.c_str());
            DWORD pid = 0;
            if (found) GetWindowThreadProcessId(found, &pid);
            if (found && pid == process_.dwProcessId) return found;
            Sleep(50);
        } while (static_cast<LONG>(GetTickCount() - end) < 0);
        return nullptr;
    }

private:
    PROCESS_INFORMATION process_{};
    bool started_ = false;
};

template <class Done>
bool WaitFor(DWORD milliseconds, Done done) {
    const DWORD end = GetTickCount() + milliseconds;
    while (!done()) {
        if (static_cast<LONG>(GetTickCount() - end) >= 0) return false;
        Sleep(20);
    }
    return true;
}

// The window as it stands on the screen, bottom-up 24-bit rows.
bool SaveScreenBitmap(HWND window, const std::string& path) {
    RECT r{};
    GetWindowRect(window, &r);
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    std::vector<unsigned char> rows(static_cast<std::size_t>(stride) * height);
    GetDIBits(memory, bitmap, 0, height, rows.data(), reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);

    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(rows.size());
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return false;
    std::fwrite(&file, sizeof file, 1, out);
    std::fwrite(&header, sizeof header, 1, out);
    std::fwrite(rows.data(), 1, rows.size(), out);
    return std::fclose(out) == 0;
}

TEST(PlaybackProgram, TestShowsTheBalloonBesideTheAvatarUntilItsTimeRunsOut) {
    const std::string samples = WindowsPath(QX_SAMPLES_DIR);
    RunningBuilder builder("\"" + samples + "\\wave.qxm\"");
    ASSERT_TRUE(builder.Started());
    HWND window = builder.FindCaptioned("wave.qxm - Quixmoor Gesture", 15000);
    ASSERT_NE(window, nullptr);
    HWND pane = FindWindowExA(window, nullptr, kPaneClass, "Preview Logo");
    ASSERT_NE(pane, nullptr);
    EXPECT_TRUE(IsWindowVisible(pane));
    EXPECT_EQ(FindWindowExA(window, nullptr, kBalloonClass, nullptr), nullptr);

    PostMessageA(window, WM_COMMAND, kTest, 0);
    HWND balloon = nullptr;
    ASSERT_TRUE(WaitFor(5000, [&] {
        balloon = FindWindowExA(window, nullptr, kBalloonClass, nullptr);
        return balloon && IsWindowVisible(balloon);
    }));
    const DWORD shownAt = GetTickCount();
    RECT b{}, p{};
    GetWindowRect(balloon, &b);
    GetWindowRect(pane, &p);
    // Above the pane's top-left corner, overlapping it by 20 and 7 pixels.
    EXPECT_EQ(b.right, p.left + 20);
    EXPECT_EQ(b.bottom, p.top + 7);
    EXPECT_EQ(GetWindowTextLengthA(window), static_cast<int>(sizeof "wave.qxm - Quixmoor Gesture" - 1))
        << "Test leaves the caption alone";

    if (const char* shot = std::getenv("QX_TEST_SCREENSHOT")) {
        Sleep(600);  // a few frames in, every window painted
        EXPECT_TRUE(SaveScreenBitmap(window, shot));
    }

    // 30 ticks of 200 ms, give or take a loaded machine.
    ASSERT_TRUE(WaitFor(15000, [&] { return !IsWindow(balloon); }));
    EXPECT_GE(GetTickCount() - shownAt, 5000u);

    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(builder.Exited(10000));
}

}  // namespace
