// The decoder against the slow reference decoder: the same block or the
// same error code on every input.
#include <cstdint>
#include <cstdlib>

#include "image/GifDecoder.h"
#include "tests/support/GifReference.h"

// Pictures are held to 16 KiB, so a header claiming a huge picture costs
// little and the time goes to decoding.
constexpr std::size_t kLimit = std::size_t{16} << 10;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    qx::GifDecoder decoder(kLimit);
    qx::test::ReferenceGifDecoder reference(kLimit);
    const auto got = decoder.Decode(data, size);
    const auto expected = reference.Decode(data, size);
    if (got.has_value() != expected.has_value()) std::abort();
    if (got && *got != *expected) std::abort();
    if (!got && decoder.Error() != reference.Error()) std::abort();
    return 0;
}
