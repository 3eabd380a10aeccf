#include "playback/Duration.h"

#include <algorithm>
#include <cstdint>

namespace qx {

int PerformanceDuration(int baseTicks, std::size_t textLength) {
    const std::int64_t counted = static_cast<std::int64_t>(std::min<std::size_t>(textLength, 100));
    // The product is taken in 64 bits so that no base can overflow it.
    return static_cast<int>(baseTicks + static_cast<std::int64_t>(baseTicks) * counted / 100);
}

}  // namespace qx
