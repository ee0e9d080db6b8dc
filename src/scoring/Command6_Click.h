#pragma once

namespace kamorin {

class Form1;
class Platform;

// SCORE: compares the last run, as the window shows it, with the reference
// machine in Combo3, writes the score and draws the two bars.
void Command6_Click(Form1 &form, Platform &platform);

} // namespace kamorin
