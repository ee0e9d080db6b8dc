#include "gui/DesignedLook.h"

#include "gui/Twips.h"

#include <string>

namespace kamorin {

QFont designedFont(const ControlDesign &design)
{
    QFont font(QString::fromStdU16String(std::u16string(kFontFamily)));
    font.setPointSizeF(design.pointSize);
    font.setBold(design.bold);
    return font;
}

QColor toColor(Rgb rgb)
{
    return QColor(rgb.red, rgb.green, rgb.blue);
}

Qt::Alignment toAlignment(Alignment alignment)
{
    switch (alignment) {
    case Alignment::Centre:
        return Qt::AlignHCenter;
    case Alignment::Right:
        return Qt::AlignRight;
    case Alignment::Left:
        break;
    }
    return Qt::AlignLeft;
}

QRect designedRect(int left, int top, int width, int height)
{
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                 twipsToPixels(height));
}

} // namespace kamorin
