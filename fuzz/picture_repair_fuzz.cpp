// DiagnosePicture on arbitrary bytes: no out-of-bounds access, a reason for
// every picture that does not show, and a repaired copy only when the
// player's decoder takes it.
#include <cstdint>
#include <cstdlib>

#include "image/GifDecoder.h"
#include "image/PictureRepair.h"

// Pictures are held to 16 KiB, so a header claiming a huge picture costs
// little and the time goes to decoding.
constexpr std::size_t kLimit = std::size_t{16} << 10;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const qx::PictureDiagnosis d = qx::DiagnosePicture({data, size}, kLimit);
    const bool repairable = d.verdict == qx::PictureVerdict::Repairable;
    if ((d.verdict == qx::PictureVerdict::Shows) != d.reason.empty()) std::abort();
    if (repairable != !d.repaired.empty() || repairable == d.repair.empty()) std::abort();
    if (repairable && !qx::GifDecoder(kLimit).Decode(d.repaired.data(), d.repaired.size())) std::abort();
    return 0;
}
