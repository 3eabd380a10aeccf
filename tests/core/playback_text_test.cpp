#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "playback/TextWrap.h"

namespace qx {
namespace {

// A fixed-pitch stand-in for the balloon font: 7 pixels a character, 11 a line.
Size FixedPitch(std::string_view line) { return {7 * static_cast<int>(line.size()), 11}; }

// The wrap width is a quarter of the text's length, at least twenty; a line
// breaks at its last space once it reaches the wrap width.
TEST(WrapText, BreaksAtTheLastSpaceOnceALineReachesTheWrapWidth) {
    const std::pair<std::size_t, int> widths[] = {{0, 20}, {83, 20}, {84, 21}, {1000, 250}};
    for (const auto& [length, wrap] : widths) EXPECT_EQ(WrapWidth(length), wrap) << length;
    const std::string b25(25, 'b'), x25(25, 'x'), x80(80, 'x');
    const struct {
        std::string text, wrapped;
    } cases[] = {
        {"This is a test\nof the gesture.", "This is a test\nof the gesture."},
        // Spaces at 4, 9, 14, 19, 24; at 20 the space at 19 breaks, and the
        // second line counts from 21, so the space at 24 stays.
        {"abcd efgh ijkl mnop qrst uvwx", "abcd efgh ijkl mnop\nqrst uvwx"},
        // The space at 1 breaks at 20; the word carried over is not counted,
        // so the second line, counted from 21, keeps its space at 27.
        {"a " + b25 + " cccccccccc", "a\n" + b25 + " cccccccccc"},
        {x25, x25},                       // no space: never broken
        {x25 + " end", x25 + "\nend"},  // the first space after a long word breaks at once
        // The remembered space outlives a newline: a long second line
        // without spaces breaks the first line instead.
        {"ab cd\n" + x25, "ab\ncd\n" + x25},
        // 102 characters wrap at 25: the space at 21 breaks, not the one at 18.
        {std::string(18, 'y') + " zz " + x80, std::string(18, 'y') + " zz\n" + x80},
    };
    for (const auto& c : cases) EXPECT_EQ(WrapText(c.text), c.wrapped) << c.text;
}

TEST(MeasureText, WidestLineByLastLineHeightPlusMargins) {
    const TextLayout test = LayoutText("This is a test\nof the gesture.", FixedPitch);
    EXPECT_EQ(test.text, "This is a test\nof the gesture.");
    EXPECT_EQ(test.size, (Size{15 * 7 + 6, 2 * 11 + 6}));
    EXPECT_EQ(MeasureText("Hello\n", FixedPitch), (Size{5 * 7 + 6, 2 * 11 + 6}));  // the empty last line counts
    // Heights differ only to show which one counts.
    int calls = 0;
    const MeasureLine measure = [&calls](std::string_view line) {
        ++calls;
        return Size{static_cast<int>(line.size()), line.empty() ? 13 : 11};
    };
    EXPECT_EQ(MeasureText("a\nlongest\n", measure), (Size{7 + 6, 3 * 13 + 6}));
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(MeasureText("\nab", measure), (Size{2 + 6, 2 * 11 + 6}));
}

}  // namespace
}  // namespace qx
