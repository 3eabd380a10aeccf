// The real qxbuilder.exe, started as a user starts it and driven from outside.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

namespace {

// Paths arrive from the build as Unix paths; under Wine they live on Z:.
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
    bool Exited(DWORD milliseconds) const { return WaitForSingleObject(process_.hProcess, milliseconds) == WAIT_OBJECT_0; }

    // The builder's shown top-level window with this exact caption, owned by this process.
    HWND FindWindowCaptioned(const std::string& caption, DWORD milliseconds) const {
        const DWORD end = GetTickCount() + milliseconds;
        do {
            HWND found = FindWindowA(nullptr, caption.c_str());
            DWORD pid = 0;
            if (found) GetWindowThreadProcessId(found, &pid);
            // The caption is set during initialisation, before the window shows.
            if (found && pid == process_.dwProcessId && IsWindowVisible(found)) return found;
            Sleep(50);
        } while (static_cast<LONG>(GetTickCount() - end) < 0);
        return nullptr;
    }

private:
    PROCESS_INFORMATION process_{};
    bool started_ = false;
};

TEST(BuilderProgram, StartsUntitledAndEndsWhenClosed) {
    RunningBuilder builder("");
    ASSERT_TRUE(builder.Started());
    HWND window = builder.FindWindowCaptioned("[Untitled] - Quixmoor Gesture", 15000);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(IsWindowVisible(window));
    char className[64] = "";
    GetClassNameA(window, className, sizeof className);
    EXPECT_STREQ(className, "#32770");
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(builder.Exited(10000));
}

TEST(BuilderProgram, SwitchesOnlyStartUntitled) {
    RunningBuilder builder("-x /y");
    ASSERT_TRUE(builder.Started());
    HWND window = builder.FindWindowCaptioned("[Untitled] - Quixmoor Gesture", 15000);
    ASSERT_NE(window, nullptr);
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(builder.Exited(10000));
}

TEST(BuilderProgram, OpensTheFirstOfTwoNamedGesturesWithoutADialog) {
    const std::string samples = WindowsPath(QX_SAMPLES_DIR);
    RunningBuilder builder("-x \"" + samples + "\\Wave.qxm\" \"" + samples + "\\bow.qxm\"");
    ASSERT_TRUE(builder.Started());
    // The name is lower-cased for the caption; the file opens whatever its case.
    HWND window = builder.FindWindowCaptioned("wave.qxm - Quixmoor Gesture", 15000);
    ASSERT_NE(window, nullptr);
    char name[64] = "";
    GetDlgItemTextA(window, 1004, name, sizeof name);
    EXPECT_STREQ(name, "Wave");
    EXPECT_EQ(FindWindowA("#32770", "Open"), nullptr);
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(builder.Exited(10000));
}

}  // namespace
