// The gesture checker on arbitrary files: whatever a file holds, checking it
// ends with findings in plain sentences, never a crash. The same bytes are
// also read as a sound's header.
#include <cstddef>
#include <cstdint>
#include <span>

#include "authoring/GestureChecker.h"
#include "gesture/WaveInfo.h"

// Pictures are held to 16 KiB, so a header claiming a huge picture costs
// little and the time goes to decoding.
constexpr std::size_t kLimit = std::size_t{16} << 10;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const std::vector<qx::Finding> findings = qx::CheckGestureBytes(bytes, kLimit);
    if (findings.empty()) __builtin_trap();  // every check says at least what it found
    for (const qx::Finding& f : findings) {
        if (f.text.empty()) __builtin_trap();
    }
    (void)qx::FormatFindings(findings);
    const qx::WaveInfo wave = qx::ReadWaveInfo(bytes);
    (void)wave.DurationMs();
    return 0;
}
