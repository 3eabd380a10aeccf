// Word wrapping and measuring of a balloon's text. The balloon draws the
// text as it stands, breaking lines only at its newlines, so wrapping
// replaces spaces by newlines in place and never changes the text's length.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Geometry.h"

namespace qx {

// Characters a line may reach before its last space is broken: a quarter
// of the text, at least 20.
int WrapWidth(std::size_t textLength);

// Scans the text once, remembering where the current line started and the
// last space seen; when a line has run WrapWidth characters past its start
// and a space has been seen, that space becomes a newline and the next line
// is counted from the character after the one being scanned (a word carried
// over is not counted). A line without a space is never broken. The last
// space is kept across a newline in the text, so a long line can break the
// last space of the line before it.
std::string WrapText(std::string text);

// The text cut at every newline: n newlines give n + 1 lines, an empty last
// line included.
std::vector<std::string_view> SplitLines(std::string_view text);

// Measures one line in the balloon's font (the window side uses its device
// context); an empty line must still report the font's line height.
using MeasureLine = std::function<Size(std::string_view line)>;

// The text block is 6 pixels larger than the text: the text sits 3 pixels
// inside it on every side.
inline constexpr int kTextSizeMargin = 6;

// The balloon's text block: the widest line + 6 by the line height (that of
// the last line measured) times the number of lines + 6.
Size MeasureText(std::string_view wrappedText, const MeasureLine& measure);

struct TextLayout {
    std::string text;  // wrapped
    Size size;         // the text block
};

// Wraps the text and measures the wrapped lines.
TextLayout LayoutText(std::string_view text, const MeasureLine& measure);

}  // namespace qx
