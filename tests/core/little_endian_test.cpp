// Little-endian values: least significant byte first, every bit of the top
// byte kept (no sign spreading from a byte of 0x80 or more).
#include "base/LittleEndian.h"

#include <gtest/gtest.h>

#include <array>

namespace qx {
namespace {

TEST(LittleEndian, ReadsAndWritesTheLowByteFirst) {
    const struct {
        std::array<std::uint8_t, 4> bytes;
        std::uint16_t low16;
        std::uint32_t all32;
    } cases[] = {
        {{0x01, 0x02, 0x03, 0x04}, 0x0201, 0x04030201},
        {{0x00, 0x80, 0x00, 0x80}, 0x8000, 0x80008000},
        {{0xFF, 0xFF, 0xFF, 0xFF}, 0xFFFF, 0xFFFFFFFF},
        {{0x80, 0x00, 0x00, 0x00}, 0x0080, 0x00000080},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReadLe16(c.bytes.data()), c.low16);
        EXPECT_EQ(ReadLe32(c.bytes.data()), c.all32);

        std::array<std::uint8_t, 4> written{0xAA, 0xAA, 0xAA, 0xAA};
        WriteLe16(written.data(), c.low16);
        EXPECT_EQ(written, (std::array<std::uint8_t, 4>{c.bytes[0], c.bytes[1], 0xAA, 0xAA}));  // two bytes only
        WriteLe32(written.data(), c.all32);
        EXPECT_EQ(written, c.bytes);
    }
}

}  // namespace
}  // namespace qx
