// The window base: what happens to a message whose handling runs out of
// memory. Every other window test goes through the base's creation and
// destruction.
#include <gtest/gtest.h>

#include <new>

#include "TestSupport_win.h"
#include "platform/Window_win.h"

namespace qx::test {
namespace {

// A window whose handling of WM_APP runs out of memory.
class ProbeWindow final : public Window {
public:
    ProbeWindow() {
        WNDCLASSEXA prototype{};
        prototype.lpszClassName = "QxProbeWindow";
        RegisterWindowClass(prototype);
        CreateWindowObject(0, "QxProbeWindow", "", WS_POPUP, 0, 0, 10, 10, nullptr);
    }
    ~ProbeWindow() override { DestroyNow(); }

protected:
    Handled HandleMessage(UINT message, WPARAM, LPARAM) override {
        if (message == WM_APP) throw std::bad_alloc();
        return kDefault;
    }
};

using WindowBase = SeamTest;

TEST_F(WindowBase, RunningOutOfMemoryGivesUpTheMessageAndSaysSo) {
    ProbeWindow window;
    ASSERT_NE(window.hwnd(), nullptr);
    EXPECT_EQ(SendMessageA(window.hwnd(), WM_APP, 0, 0), 0);
    EXPECT_TRUE(IsWindow(window.hwnd()));
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"Not enough memory to finish."});
}

}  // namespace
}  // namespace qx::test
