#pragma once

#include "mainwindow/ControlDesign.h"

#include <QColor>
#include <QFont>
#include <QRect>

namespace kamorin {

// How the windows turn a control's design into Qt terms.
QFont designedFont(const ControlDesign &design);
QColor toColor(Rgb rgb);
Qt::Alignment toAlignment(Alignment alignment);
// Twips to device-independent pixels.
QRect designedRect(int left, int top, int width, int height);

} // namespace kamorin
