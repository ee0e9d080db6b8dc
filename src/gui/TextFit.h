#pragma once

#include <QFont>

class QLabel;
class QLineEdit;

namespace kamorin {

// The installed substitutes for ＭＳ Ｐゴシック draw digits wider than the face
// the window was designed for, so a value such as 3.14159260358982 would be
// cut off in its box. Text that would not fit is drawn condensed instead,
// never below 80 % of its width; text that fits keeps the designed font.
void fitText(QLineEdit *edit, const QFont &designed);
void fitText(QLabel *label, const QFont &designed);

} // namespace kamorin
