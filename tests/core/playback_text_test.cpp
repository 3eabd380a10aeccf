#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "playback/TextWrap.h"

namespace qx {
namespace {

// A fixed-pitch stand-in for the balloon font: 7 pixels a character, 11 a line.
Size FixedPitch(std::string_view line) { return {7 * static_cast<int>(line.size()), 11}; }

std::vector<std::size_t> NewlinesOf(const std::string& text) {
    std::vector<std::size_t> at;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') at.push_back(i);
    }
    return at;
}

TEST(WrapWidth, QuarterOfTheTextAtLeastTwenty) {
    struct {
        std::size_t length;
        int wrap;
    } const cases[] = {{0, 20}, {30, 20}, {83, 20}, {84, 21}, {120, 30}, {1000, 250}};
    for (const auto& c : cases) EXPECT_EQ(WrapWidth(c.length), c.wrap) << c.length;
}

TEST(WrapText, TestTextKeepsItsOwnLines) {
    const std::string text = "This is a test\nof the gesture.";
    EXPECT_EQ(WrapText(text), text);
    const TextLayout layout = LayoutText(text, FixedPitch);
    EXPECT_EQ(layout.text, text);
    EXPECT_EQ(layout.size, (Size{15 * 7 + 6, 2 * 11 + 6}));
}

TEST(WrapText, CarriedOverWordIsNotCounted) {
    // Spaces at 4, 9, 14, 19, 24; at 20 the space at 19 breaks, and the
    // second line counts from 21, so the space at 24 stays.
    EXPECT_EQ(WrapText("abcd efgh ijkl mnop qrst uvwx"), "abcd efgh ijkl mnop\nqrst uvwx");
    // The space at 1 breaks at 20; the 25-letter word carried over is not
    // counted, so the second line, counted from 21, keeps its space at 27.
    const std::string text = "a " + std::string(25, 'b') + " " + std::string(10, 'c');
    EXPECT_EQ(WrapText(text), "a\n" + std::string(25, 'b') + " " + std::string(10, 'c'));
}

TEST(WrapText, LongTextWrapsAtAQuarterOfItsLength) {
    // Twenty five-letter words and a "!": 120 characters, wrap width 30.
    std::string text;
    for (int w = 0; w < 20; ++w) text += w == 0 ? "abcde" : " abcde";
    text += "!";
    ASSERT_EQ(text.size(), 120u);
    const std::string wrapped = WrapText(text);
    EXPECT_EQ(NewlinesOf(wrapped), (std::vector<std::size_t>{29, 59, 89}));
    EXPECT_EQ(wrapped.size(), text.size());
}

TEST(WrapText, WordsLongerThanTheWrapWidth) {
    const std::string word(25, 'x');
    EXPECT_EQ(WrapText(word), word);                        // no space: never broken
    EXPECT_EQ(WrapText("hi " + std::string(30, 'x')), "hi\n" + std::string(30, 'x'));
    EXPECT_EQ(WrapText(word + " end"), word + "\nend");     // the first space after it breaks at once
}

TEST(WrapText, LastSpaceOutlivesANewline) {
    // The remembered space is not forgotten at a newline: a long second line
    // without spaces breaks the first line instead.
    const std::string tail(25, 'x');
    EXPECT_EQ(WrapText("ab cd\n" + tail), "ab\ncd\n" + tail);
}

TEST(MeasureText, TrailingNewlineAddsAnEmptyLine) {
    EXPECT_EQ(MeasureText("Hello\n", FixedPitch), (Size{5 * 7 + 6, 2 * 11 + 6}));
}

TEST(MeasureText, LineHeightIsTheLastLinesAndWidthTheWidest) {
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
