// The real qxbuilder.exe as a separate process, driven from outside as a
// user's desktop would drive it, and pictures of its windows.
#pragma once

#include <windows.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "../../platform/Gdi_win.h"
#include "../../resources/resource.h"
#include "../support/TestFiles.h"

namespace qx::e2e {

// Paths arrive from the build as Unix paths; under Wine they live on Z:.
inline std::string WindowsPath(std::string path) {
    if (!path.empty() && path[0] == '/') path = "Z:" + path;
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return path;
}

// The command line that starts the builder under test with ARGUMENTS: the
// build's own, unless QX_BUILDER_EXE in the environment names another (a
// release build, an installed copy).
inline std::string BuilderCommand(const std::string& arguments) {
    const char* other = std::getenv("QX_BUILDER_EXE");
    return "\"" + WindowsPath(other && *other ? other : QX_BUILDER_EXE) + "\" " + arguments;
}

template <class Done>
bool WaitFor(DWORD milliseconds, Done done) {
    const DWORD end = GetTickCount() + milliseconds;
    while (!done()) {
        if (static_cast<LONG>(GetTickCount() - end) >= 0) return false;
        Sleep(20);
    }
    return true;
}

class RunningBuilder {
public:
    // A whole command line, as BuilderCommand or a shell's registered open command gives it.
    explicit RunningBuilder(std::string command) {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process_);
    }
    RunningBuilder(const RunningBuilder&) = delete;
    RunningBuilder& operator=(const RunningBuilder&) = delete;
    ~RunningBuilder() {
        if (!process_.hProcess) return;
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process_.hProcess, 1);
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
    }
    bool Exited(DWORD milliseconds) const {
        return WaitForSingleObject(process_.hProcess, milliseconds) == WAIT_OBJECT_0;
    }

    // A shown top-level window of this process with exactly this caption.
    // (The builder's caption is set during initialisation, before it shows.)
    HWND FindCaptioned(const std::string& caption, DWORD milliseconds) const {
        HWND found = nullptr;
        const bool shown = WaitFor(milliseconds, [&] {
            found = FindWindowA(nullptr, caption.c_str());
            DWORD pid = 0;
            if (found) GetWindowThreadProcessId(found, &pid);
            return found && pid == process_.dwProcessId && IsWindowVisible(found);
        });
        return shown ? found : nullptr;
    }

private:
    PROCESS_INFORMATION process_{};
};

// Saves the window as it stands on the screen, as a 24-bit BMP named NAME.bmp
// in the directory QX_SCREENSHOT_DIR names (make screenshot, the package
// test); does nothing when it is unset.
inline void SaveScreenshot(HWND window, const char* name) {
    const char* directory = std::getenv("QX_SCREENSHOT_DIR");
    if (!directory || !*directory) return;
    Sleep(300);  // every window painted
    RECT r{};
    GetWindowRect(window, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    // 0xRRGGBB values, top row first.
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    BITMAPINFOHEADER header{sizeof header, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    {
        WindowDC screen(nullptr);
        MemoryDC memory(screen.get());
        OwnedBitmap bitmap(CreateCompatibleBitmap(screen.get(), width, height));
        {
            SelectGuard select(memory.get(), bitmap.get());
            BitBlt(memory.get(), 0, 0, width, height, screen.get(), r.left, r.top, SRCCOPY);
        }
        GetDIBits(memory.get(), bitmap.get(), 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&header),
                  DIB_RGB_COLORS);
    }
    const test::Bytes bytes = test::BitmapFile(width, height, 24, {}, pixels);
    const std::string path = std::string(directory) + "\\" + name + ".bmp";
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) ADD_FAILURE() << "the picture " << path << " was not written";
}

}  // namespace qx::e2e
