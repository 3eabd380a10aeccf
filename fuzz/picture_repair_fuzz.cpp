// DiagnosePicture on arbitrary bytes: no out-of-bounds access, a reason for
// every picture that does not show, and a repaired copy only when the
// player's decoder takes it.
#include <cstdint>
#include <cstdlib>

#include "image/GifDecoder.h"
#include "image/PictureRepair.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const qx::PictureDiagnosis d = qx::DiagnosePicture({data, size});
    const bool repairable = d.verdict == qx::PictureVerdict::Repairable;
    if ((d.verdict == qx::PictureVerdict::Shows) != d.reason.empty()) std::abort();
    if (repairable != !d.repaired.empty() || repairable == d.repair.empty()) std::abort();
    if (repairable && !qx::GifDecoder().Decode(d.repaired.data(), d.repaired.size())) std::abort();
    return 0;
}
