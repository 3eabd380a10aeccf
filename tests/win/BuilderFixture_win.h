// A real builder window, created modeless from its template and driven with
// the messages a user's actions produce.
#pragma once

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <tuple>

#include "TestSupport_win.h"
#include "app/BuilderDialog_win.h"
#include "platform/Controls_win.h"
#include "tests/support/FaultSweep.h"
#include "tests/support/GestureBytes.h"
#include "tests/support/TestFiles.h"

namespace qx::test {

// A file of the test data, copied into a directory (so that the copies the
// builder makes beside it land there too); its new path.
inline std::string CopyTestData(const std::string& name, const std::string& directory) {
    std::string source = std::string("Z:") + QX_TEST_DATA + "/" + name;
    std::replace(source.begin(), source.end(), '/', '\\');
    const std::string target = directory + "\\" + name.substr(name.find_last_of('/') + 1);
    EXPECT_TRUE(CopyFileA(source.c_str(), target.c_str(), FALSE)) << source;
    return target;
}

class BuilderTest : public SeamTest {
protected:
    void SetUp() override {
        SeamTest::SetUp();
        Recreate();
    }
    void TearDown() override {
        builder.reset();
        SeamTest::TearDown();
    }
    // A window in place of the one there was, which is destroyed.
    void Recreate() {
        builder = std::make_unique<BuilderDialog>();
        ASSERT_NE(builder->CreateModeless(nullptr), nullptr);
    }

    HWND Item(int id) const { return GetDlgItem(builder->hwnd(), id); }
    void Type(int id, const std::string& text) const { SetWindowTextA(Item(id), text.c_str()); }
    std::string Text(int id) const { return WindowText(Item(id)); }
    void Click(int id) const { SendMessageA(Item(id), BM_CLICK, 0, 0); }
    void Command(WPARAM id) const { SendMessageA(builder->hwnd(), WM_COMMAND, id, 0); }
    bool Enabled(int id) const { return IsWindowEnabled(Item(id)) != FALSE; }
    bool Checked(int id) const { return SendMessageA(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    std::string Caption() const { return WindowText(builder->hwnd()); }
    // One file dropped on the centre of a control, in a handle as the shell makes it.
    void Drop(const std::string& path, int onto) const {
        RECT r{};
        GetWindowRect(Item(onto), &r);
        MapWindowPoints(nullptr, builder->hwnd(), reinterpret_cast<POINT*>(&r), 2);
        HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + path.size() + 2);
        auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
        drop->pFiles = sizeof(DROPFILES);
        drop->pt = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), path.c_str(), path.size() + 1);
        GlobalUnlock(memory);
        SendMessageA(builder->hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
    }

    std::unique_ptr<BuilderDialog> builder;
};

// A builder working on files in a directory of the test's own.
class BuilderFileTest : public BuilderTest {
protected:
    void Open(const std::string& path) {
        files.Choose(path);
        Command(ID_FILE_OPEN);
    }
    // The worked example's form, with its sections on disk, on a new form.
    void FillWorkedExample() {
        const GestureFields f = WorkedExample();
        Type(IDC_ANIMATION_FILE, dir.Write("strip.gif", f.image));
        Type(IDC_BUTTON_IMAGE_FILE, dir.Write("button.gif", f.button));
        Type(IDC_AUDIO_FILE, dir.Write("sound.wav", *f.audio));
        for (auto [id, text] : {std::pair{IDC_DISPLAYED_NAME, "Wave"}, {IDC_FRAME_WIDTH, "40"}, {IDC_RED, "255"},
                                {IDC_GREEN, "0"}, {IDC_BLUE, "255"}, {IDC_BACK_TO_FRAME, "2"},
                                {IDC_AUDIO_START_FRAME, "0"}}) {
            Type(id, text);
        }
        Click(IDC_TRANSPARENT);
        Click(IDC_IMAGE_LOOP);
    }
    // Runs an action from a fresh script of answers: true when it showed no message.
    bool Quietly(const std::function<void()>& action, std::vector<int> answers = {}) {
        messages.shown.clear();
        messages.answers.assign(answers.begin(), answers.end());
        action();
        files.answers.clear();
        return messages.shown.empty();
    }
    // One sweep of a command's file faults over its targets and the test's
    // directory (or the directories given); it must have faulty runs to count.
    void Sweep(const char* name, const std::vector<SweptTarget>& targets, const std::function<bool()>& run,
               const std::vector<std::string>& directories = {}, bool allOrNothing = false) {
        const int runs =
            SweepFileFaults(targets, directories.empty() ? std::vector{dir.Path()} : directories, run, allOrNothing);
        EXPECT_GT(runs, 0) << name;
        RecordProperty(std::string("fault_runs_") + name, runs);
    }
    // Sends a command that runs a modal box captioned CAPTION: a timer finds
    // the box, gives it to ANSWER and closes it with the command ANSWER
    // returns. True when the box was found.
    bool AnswerModalBox(WPARAM command, const char* caption, std::function<WPARAM(HWND)> answer) const {
        static const char* sought;
        static std::function<WPARAM(HWND)>* act;
        static bool found;
        sought = caption;
        act = &answer;
        found = false;
        const UINT_PTR timer = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR id, DWORD) {
            HWND box = FindWindowA("#32770", sought);
            if (!box) return;
            KillTimer(nullptr, id);
            found = true;
            SendMessageA(box, WM_COMMAND, (*act)(box), 0);
        });
        Command(command);  // returns once the box is closed
        KillTimer(nullptr, timer);
        return found;
    }

    TempDir dir;
};

}  // namespace qx::test
