#pragma once

namespace kamorin {

class Form1;
class Platform;

// COPY: puts a four-line report of the last run and score on the clipboard.
void Command4_Click(Form1 &form, Platform &platform);

} // namespace kamorin
