// Little-endian values: least significant byte first, every bit of the top
// byte kept (no sign spreading from a byte of 0x80 or more).
#include "base/LittleEndian.h"

#include <gtest/gtest.h>

#include <array>
#include <tuple>

namespace qx {
namespace {

TEST(LittleEndian, ReadsAndWritesTheLowByteFirst) {
    using Four = std::array<std::uint8_t, 4>;
    // The bytes, the 16-bit value of the first two and the 32-bit value of all four.
    const std::tuple<Four, std::uint16_t, std::uint32_t> cases[] = {
        {{0x01, 0x02, 0x03, 0x04}, 0x0201, 0x04030201},
        {{0x00, 0x80, 0x00, 0x80}, 0x8000, 0x80008000},
        {{0x80, 0x00, 0x00, 0x00}, 0x0080, 0x00000080},
    };
    for (const auto& [bytes, low16, all32] : cases) {
        EXPECT_EQ(std::tuple(ReadLe16(bytes.data()), ReadLe32(bytes.data())), std::tuple(low16, all32));
        Four written{0xAA, 0xAA, 0xAA, 0xAA};
        WriteLe16(written.data(), low16);
        EXPECT_EQ(written, (Four{bytes[0], bytes[1], 0xAA, 0xAA}));  // two bytes only
        WriteLe32(written.data(), all32);
        EXPECT_EQ(written, bytes);
    }
}

}  // namespace
}  // namespace qx
