#pragma once

#include <optional>

namespace kamorin {

// The upper halves of the vector registers (AVX's YMM state on x86-64) left
// dirty by code that ran before make every later legacy-SSE instruction pay a
// transition or a merge, and libm's power function switches between SSE and
// VEX code twice a call: a pass then costs several times what it should, by
// what happened to run first. A timed loop starts from this state cleared.
//
// Where the processor has AVX, clears it (`vzeroupper`); chosen at run time,
// so the program still runs on an x86-64 without AVX. Elsewhere nothing.
void clearUpperVectorState() noexcept;

// Whether the upper vector state is in use now, where the processor has one
// and can tell (`xgetbv` with ECX = 1); nothing where it cannot.
std::optional<bool> upperVectorStateInUse() noexcept;

} // namespace kamorin
