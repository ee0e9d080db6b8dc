#pragma once

namespace kamorin {

class Form1;

// CLEAR: empties the results, the score and the chart, and returns SCORE,
// the reference list and the curtain to their start-up state.
void Command2_Click(Form1 &form);

} // namespace kamorin
