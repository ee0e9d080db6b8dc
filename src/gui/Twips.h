#pragma once

#include "mainwindow/ControlDesign.h"

#include <cmath>

namespace kamorin {

// Qt's device-independent pixels are the 96-dpi pixels the twips were laid out
// for, so a high-DPI screen scales the whole window alike.
inline int twipsToPixels(double twips)
{
    return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}

} // namespace kamorin
