// File names in the system's code page: lower-casing, order, the palette's
// reading of such names and the caption after Open. These run in the
// default code page with the other window tests, and again under code pages
// 932 and 1251 (ctest gives Wine those locales).
#include <cstdlib>
#include <map>
#include <tuple>
#include <utility>

#include "BuilderFixture_win.h"
#include "PaletteGestures_win.h"
#include "palette/PaletteWindow_win.h"
#include "base/TextCase.h"
#include "tests/support/TestFiles.h"

namespace qx::test {
namespace {

const std::string kJapanese = "\x83\x41\x83\x43";  // two double-byte characters in 932
const std::string kCyrillic = "\xC0\xB2\xC4\xD9";  // four capitals in 1251, katakana in 932
const std::string kSingle = "\xB1";                 // one byte everywhere

// Every name is read back under its lower-cased form, in order, and Open
// captions the builder with the lowered name.
using SystemCodePage = BuilderTest;

TEST_F(SystemCodePage, NamesAreLoweredAndOrderedInTheSystemsCodePage) {
    if (const char* expected = std::getenv("QX_EXPECT_CODE_PAGE")) {
        ASSERT_EQ(GetACP(), static_cast<UINT>(std::atoi(expected))) << "the locale did not reach Wine";
    }
    // By code page: kJapanese and kCyrillic lower-cased, and the three names' gestures sorted.
    const std::map<UINT, std::tuple<std::string, std::string, std::vector<std::string>>> rules = {
        {1252, {"\x83\x61\x83\x63", "\xE0\xB2\xE4\xF9", {"J", "S", "C"}}},
        {932, {kJapanese, kCyrillic, {"S", "C", "J"}}},  // 0xB1 < 0xC0 < 0x8341
        {1251, {"\x83\x61\x83\x63", "\xE0\xB3\xE4\xF9", {"J", "S", "C"}}},
    };
    if (!rules.count(GetACP())) GTEST_SKIP() << "no rules for code page " << GetACP();
    const auto& [japanese, cyrillic, order] = rules.at(GetACP());
    EXPECT_EQ(LowerCase(kCyrillic), cyrillic);

    // The directory's own name is plain; the names in it are written by the
    // system's code page.
    TempDir dir;
    const auto path = [&](const std::string& name) { return dir.Path() + "\\" + name + ".QXM"; };
    for (const auto& [name, gesture] : {std::pair{kJapanese, "J"}, {kCyrillic, "C"}, {kSingle, "S"}}) {
        WriteFileBytes(path(name), PaletteGesture(gesture, SimpleButton(0xFF0000)));
    }
    PaletteWindow palette;
    palette.Refresh(dir.Path());
    ASSERT_EQ(palette.Create(nullptr, 10, 10, 0), 1);
    UpdateWindow(palette.hwnd());
    std::vector<std::string> shown;
    for (const PaletteEntry& entry : palette.catalogue().entries()) shown.push_back(entry.displayName);
    EXPECT_EQ(shown, order);

    files.Choose(path(kJapanese));
    Command(ID_FILE_OPEN);
    EXPECT_EQ(Caption(), japanese + ".qxm - Quixmoor Gesture");
}

}  // namespace
}  // namespace qx::test
