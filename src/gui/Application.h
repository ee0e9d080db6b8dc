#pragma once

namespace kamorin {

// What every Kamorin window expects of the application: its name, one style
// everywhere (so the designed colours, such as SCORE's grey face, are
// honoured), and the font substitutes for ＭＳ Ｐゴシック, which is rarely
// installed: IPAPGothic first, then Noto Sans CJK JP.
void setUpApplication();

} // namespace kamorin
