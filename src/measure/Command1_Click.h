#pragma once

#include <QString>

namespace kamorin {

class Form1;
class Platform;

// 実行: resolves the loop count, runs the workload, times it and fills the
// result fields; a run of a second or more enables SCORE and draws the
// curtain back from the bar chart.
void Command1_Click(Form1 &form, Platform &platform);

// The passes 実行 makes for a count and a unit as Combo4 and Combo5 hold
// them, as it resolves them; RuntimeError where 実行 would stop with one.
double passesFor(const QString &count, const QString &unit);

// Whether 実行 enables SCORE after a run of `seconds`: the run lasted a whole
// second as its time fields show it, held in single precision as the
// reference times were.
bool enablesScore(double seconds);

} // namespace kamorin
