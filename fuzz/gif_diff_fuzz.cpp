// The decoder against the slow reference decoder: the same block or the
// same error code on every input.
#include <cstdint>
#include <cstdlib>

#include "image/GifDecoder.h"
#include "tests/support/GifReference.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr std::size_t kLimit = std::size_t{1} << 20;
    qx::GifDecoder decoder(kLimit);
    qx::test::ReferenceGifDecoder reference(kLimit);
    const auto got = decoder.Decode(data, size);
    const auto expected = reference.Decode(data, size);
    if (got.has_value() != expected.has_value()) std::abort();
    if (got && *got != *expected) std::abort();
    if (!got && decoder.Error() != reference.Error()) std::abort();
    return 0;
}
