#pragma once

namespace kamorin {

// Every control asks for ＭＳ Ｐゴシック. Where it is not installed, Qt is
// told to use IPAPGothic, drawn to the same metrics, then Noto Sans CJK JP.
void registerFontSubstitutes();

} // namespace kamorin
