#include "playback/TextWrap.h"

#include <algorithm>

namespace qx {

int WrapWidth(std::size_t textLength) {
    return static_cast<int>(std::max<std::size_t>(textLength / 4, 20));
}

std::string WrapText(std::string text) {
    const std::ptrdiff_t wrap = WrapWidth(text.size());
    const std::ptrdiff_t n = static_cast<std::ptrdiff_t>(text.size());
    std::ptrdiff_t lineStart = 0;
    std::ptrdiff_t lastSpace = -1;
    for (std::ptrdiff_t i = 0; i < n; ++i) {
        if (text[i] == '\n') lineStart = i + 1;
        if (text[i] == ' ') lastSpace = i;
        if (i - lineStart >= wrap && lastSpace >= 0) {
            text[lastSpace] = '\n';
            lineStart = i + 1;
            lastSpace = -1;
        }
    }
    return text;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            lines.push_back(text.substr(start));
            return lines;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
}

Size MeasureText(std::string_view wrappedText, const MeasureLine& measure) {
    const std::vector<std::string_view> lines = SplitLines(wrappedText);
    int widest = 0;
    int lineHeight = 0;
    for (std::string_view line : lines) {
        const Size extent = measure(line);
        widest = std::max(widest, extent.width);
        lineHeight = extent.height;
    }
    return {widest + kTextSizeMargin, lineHeight * static_cast<int>(lines.size()) + kTextSizeMargin};
}

TextLayout LayoutText(std::string_view text, const MeasureLine& measure) {
    TextLayout layout;
    layout.text = WrapText(std::string(text));
    layout.size = MeasureText(layout.text, measure);
    return layout;
}

}  // namespace qx
