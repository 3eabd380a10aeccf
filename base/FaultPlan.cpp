#include "base/FaultPlan.h"

#include <atomic>

namespace qx::fault_plan {
namespace {

std::atomic<std::uint64_t> failing{0};
std::atomic<std::uint64_t> calls{0};

}  // namespace

void FailCall(std::uint64_t n) {
    calls = 0;
    failing = n;
}

std::uint64_t Calls() { return calls; }

bool Fails() {
    const std::uint64_t n = failing;
    if (n == 0) return false;
    return ++calls == n;
}

}  // namespace qx::fault_plan
