#pragma once

namespace kamorin {

class Form1;
class Platform;

// 実行: resolves the loop count, runs the workload, times it and fills the
// result fields; a run of a second or more enables SCORE and draws the
// curtain back from the bar chart.
void Command1_Click(Form1 &form, Platform &platform);

} // namespace kamorin
