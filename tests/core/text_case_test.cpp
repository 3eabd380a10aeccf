#include <gtest/gtest.h>

#include "base/TextCase.h"

namespace qx {
namespace {

TEST(LowerCase, LowersAsciiAndUpperHalfCapitalsOnly) {
    EXPECT_EQ(LowerCase("C:\\Gest\\Bow-1_[x].qxm"), "c:\\gest\\bow-1_[x].qxm");
    EXPECT_EQ(LowerCase("\xC0\xC9\xDE"), "\xE0\xE9\xFE");
    // The multiplication sign and the German sharp s have no lower-case partner.
    EXPECT_EQ(LowerCase("\xD7\xDF"), "\xD7\xDF");
    EXPECT_EQ(LowerCase("\x8A\x8C\x8E\x9F"), "\x9A\x9C\x9E\xFF");
}

}  // namespace
}  // namespace qx
