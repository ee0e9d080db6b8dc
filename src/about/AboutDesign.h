#pragma once

#include "mainwindow/ControlDesign.h"

#include <string_view>

namespace kamorin {

// The version dialog's client area, in twips; its fixed dialog border keeps it so.
inline constexpr int kAboutClientWidthTwips = 3450;
inline constexpr int kAboutClientHeightTwips = 1785;
// Where the dialog first appears on the screen.
inline constexpr int kAboutLeftTwips = 2205;
inline constexpr int kAboutTopTwips = 2625;
// Never seen: Form_Load replaces it before the dialog is first drawn.
inline constexpr std::u16string_view kAboutDesignCaption = u"ﾊﾞｰｼﾞｮﾝ情報";

// picIcon shows the program's icon, 32 × 32 pixels, and nothing ever assigns
// to it: its design is all there is of it.
struct PictureBoxDesign
{
    std::string_view name;
    int left;
    int top;
    int width;
    int height;
    int tabIndex;
};

inline constexpr PictureBoxDesign kPicIconDesign { "picIcon", 240, 240, 540, 540, 1 };

const ControlDesign &aboutDesignOf(std::string_view name);

} // namespace kamorin
