#include <gtest/gtest.h>

#include "authoring/BuilderLayout.h"

namespace qx {
namespace {

TEST(PreviewPanePosition, CentresOnThePlaceholderLessTheCaption) {
    // Placeholder 36x22 at (600,180) on screen; window at (0,0); caption 19.
    // x = (36-48)/2 - 1 + 600 = 593; y = (22-64)/2 - 1 - 19 + 180 = 139.
    EXPECT_EQ(PreviewPanePosition({600, 180, 636, 202}, {0, 0, 770, 420}, 19), (Point{593, 139}));
    // Window elsewhere on the screen: the result is relative to it.
    EXPECT_EQ(PreviewPanePosition({700, 280, 736, 302}, {100, 100, 870, 520}, 19), (Point{593, 139}));
    // (35-48)/2 = -6 (not -7); (21-64)/2 = -21 (not -22).
    EXPECT_EQ(PreviewPanePosition({10, 10, 45, 31}, {0, 0, 100, 100}, 0), (Point{3, -12}));
}

}  // namespace
}  // namespace qx
