// The window base: what a window object still receives as it is destroyed.
#include <gtest/gtest.h>

#include <memory>

#include "TestSupport_win.h"
#include "platform/Window_win.h"

namespace qx::test {
namespace {

// A window that either leaves its window to the base's destructor, so the
// destruction messages arrive when only the base part of the object is
// left, or destroys it itself; its handling of WM_APP runs out of memory.
class ProbeWindow final : public Window {
public:
    explicit ProbeWindow(bool destroysItself) : destroysItself_(destroysItself) {
        WNDCLASSEXA prototype{};
        prototype.lpszClassName = "QxProbeWindow";
        RegisterWindowClass(prototype);
        CreateWindowObject(0, "QxProbeWindow", "", WS_POPUP, 0, 0, 10, 10, nullptr);
    }
    ~ProbeWindow() override {
        if (destroysItself_) DestroyNow();
    }

protected:
    Handled HandleMessage(UINT message, WPARAM, LPARAM) override {
        if (message == WM_APP) throw std::bad_alloc();
        return kDefault;
    }

private:
    bool destroysItself_;
};

// Whether the window was still attached to its object when WM_DESTROY
// reached it. (A call into the half-destroyed object need not crash here:
// the system may swallow what goes wrong inside a window procedure.)
HWND watched = nullptr;
bool sawDestroy = false;
bool attachedAtDestroy = false;

LRESULT CALLBACK WatchDestroy(int code, WPARAM wParam, LPARAM lParam) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && sent->hwnd == watched && sent->message == WM_DESTROY) {
        sawDestroy = true;
        attachedAtDestroy = GetWindowLongPtrA(sent->hwnd, GWLP_USERDATA) != 0;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST(WindowBase, DestroyedByTheBaseDestructorTheWindowNoLongerReachesItsObject) {
    auto window = std::make_unique<ProbeWindow>(false);
    watched = window->hwnd();
    ASSERT_NE(watched, nullptr);
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, &WatchDestroy, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    window.reset();
    UnhookWindowsHookEx(hook);
    EXPECT_FALSE(IsWindow(watched));
    ASSERT_TRUE(sawDestroy);
    EXPECT_FALSE(attachedAtDestroy);
}

using WindowBaseMemory = SeamTest;

TEST_F(WindowBaseMemory, RunningOutOfMemoryGivesUpTheMessageAndSaysSo) {
    ProbeWindow window(true);
    EXPECT_EQ(SendMessageA(window.hwnd(), WM_APP, 0, 0), 0);
    EXPECT_TRUE(IsWindow(window.hwnd()));
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"Not enough memory to finish."});
}

}  // namespace
}  // namespace qx::test
