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

// The time fields (Text3, Text8, Text6, Text5) as 実行 writes them for a run
// of `seconds`, held in single precision as the reference times were: what
// SCORE then reads is what it would read after such a run. True when 実行
// would enable SCORE: the run lasted a whole second.
bool showElapsedTime(Form1 &form, double seconds);

} // namespace kamorin
