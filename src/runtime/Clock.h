#pragma once

namespace kamorin {

// Seconds on the steady clock. A run that crosses midnight, or a change of the
// wall clock during a run, cannot disturb a difference of two readings.
double monotonicSeconds() noexcept;

} // namespace kamorin
