// Real Win32 under the window base and GestureImage. The window base: what
// happens to a message whose handling runs out of memory (every other window
// test goes through its creation and destruction). GestureImage: a picture
// drawn into a 32-bit DIB section and read back pixel by pixel; which picture
// path a file takes and how its header is read are decided in the core, here
// is what GDI makes of it.
#include <windows.h>

#include <gtest/gtest.h>

#include <new>
#include <vector>

#include "TestSupport_win.h"
#include "image/GestureImage_win.h"
#include "platform/Window_win.h"
#include "tests/support/GifWriter.h"

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

// Shrunk, the transparent path scales the picture in its own context with
// that context's default mode, which keeps dark pixels: columns of red and
// dark red halved give dark red, though the red column comes first. A 2 x 2
// block of light grey halves to one pixel that leaves what was underneath.
TEST(GestureImage, ShrunkTransparentPictureKeepsItsDarkPixelsAndLetsTheGroundThroughGrey) {
    constexpr unsigned kGround = 0x010203;
    std::vector<std::uint8_t> columns;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 40; ++x) columns.push_back(x / 2 == 5 && y / 2 == 7 ? 2 : x % 2);
    }
    const Bytes gif = WriteGif({0xFF0000, 0x800000, 0xC0C0C0}, {{40, 40, columns}});
    GestureImage image;
    ASSERT_TRUE(image.Load(gif.data(), gif.size()));
    image.SetTransparency(true, RGB(192, 192, 192));
    Canvas canvas(22, 22);
    canvas.Fill(RGB(1, 2, 3));
    ASSERT_TRUE(image.Draw(canvas.dc(), {1, 1, 21, 21}));
    const Pixels drawn = canvas.Snapshot();
    for (int y = 0; y < 22; ++y) {
        for (int x = 0; x < 22; ++x) {
            const bool inside = x >= 1 && x < 21 && y >= 1 && y < 21;
            const unsigned expected = !inside || (x == 6 && y == 8) ? kGround : 0x800000u;
            ASSERT_EQ(drawn.At(x, y), expected) << x << "," << y;
        }
    }
}

}  // namespace
}  // namespace qx::test
