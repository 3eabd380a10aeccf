// The palette in the real qxbuilder.exe: opened over the sample gestures with
// the Palette command, pointed at and pressed, then closed.
//
// With QX_PALETTE_SCREENSHOT set to a file name, the palette window is also
// saved there as a 24-bit BMP, as it stands on the screen.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

constexpr WPARAM kShowPalette = 32779;
constexpr int kDirectoryEdit = 1023;

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

std::string ControlText(HWND control) {
    char text[MAX_PATH * 2] = "";
    SendMessageA(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
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

LPARAM ClientPoint(int x, int y) { return MAKELPARAM(x, y); }

TEST(PaletteProgram, ShowsTheSampleGesturesPressedAndPointedAt) {
    const std::string samples = WindowsPath(QX_SAMPLES_DIR);
    RunningBuilder builder("\"" + samples + "\\wave.qxm\"");
    ASSERT_TRUE(builder.Started());
    HWND window = builder.FindCaptioned("wave.qxm - Quixmoor Gesture", 15000);
    ASSERT_NE(window, nullptr);

    PostMessageA(window, WM_COMMAND, kShowPalette, 0);
    HWND dialog = builder.FindCaptioned("Directory for Palette", 10000);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ControlText(GetDlgItem(dialog, kDirectoryEdit)), samples);
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);

    HWND palette = builder.FindCaptioned("Gestures", 10000);
    ASSERT_NE(palette, nullptr);
    EXPECT_TRUE(IsWindowVisible(palette));
    EXPECT_EQ(GetWindow(palette, GW_OWNER), window);
    RECT outer{}, client{};
    GetWindowRect(palette, &outer);
    GetClientRect(palette, &client);
    EXPECT_EQ(outer.left, 10);
    EXPECT_EQ(outer.top, 10);
    // The samples fill one row of four columns.
    EXPECT_EQ(client.right, 100);
    EXPECT_EQ(client.bottom, 54);

    // Press the first button, then rest the pointer on the last one.
    SendMessageA(palette, WM_MOUSEMOVE, 0, ClientPoint(15, 15));
    SendMessageA(palette, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(15, 15));
    SendMessageA(palette, WM_LBUTTONUP, 0, ClientPoint(15, 15));
    SendMessageA(palette, WM_MOUSEMOVE, 0, ClientPoint(61, 15));
    UpdateWindow(palette);
    Sleep(300);
    if (const char* shot = std::getenv("QX_PALETTE_SCREENSHOT")) {
        EXPECT_TRUE(SaveScreenBitmap(palette, WindowsPath(shot))) << shot;
    }
    SendMessageA(palette, WM_MOUSEMOVE, 0, ClientPoint(1, 1));

    SendMessageA(palette, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(palette));
    EXPECT_FALSE(IsWindowVisible(palette));

    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(builder.Exited(10000));
}

}  // namespace
