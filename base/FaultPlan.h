// A plan of file-operation failures, so that a test can see what a command
// leaves behind when the disk fails part way through it. Every file
// operation of base/ (open, read, write, flush, close, move into place,
// remove) asks the plan first; unarmed, as in the program, it never says
// fail.
#pragma once

#include <cstdint>

namespace qx::fault_plan {

// The nth file operation from now (1: the next one) fails; 0 disarms.
void FailCall(std::uint64_t n);

// How many file operations asked since the last FailCall.
std::uint64_t Calls();

// Asked by each file operation: whether this one is to fail.
bool Fails();

}  // namespace qx::fault_plan
