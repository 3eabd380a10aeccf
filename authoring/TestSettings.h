// What the builder's Test performs: every Test shows the same text for the
// same base time, so that authors compare their gestures alike.
#pragma once

#include <string_view>

namespace qx {

inline constexpr int kTestBaseTicks = 23;  // lengthened by the text, to 29
inline constexpr int kTestFontPoints = 8;
inline constexpr std::string_view kTestText = "This is a test\nof the gesture.";

}  // namespace qx
