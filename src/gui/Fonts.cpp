#include "gui/Fonts.h"

#include "mainwindow/ControlDesign.h"

#include <QFont>
#include <QStringList>

namespace kamorin {

void registerFontSubstitutes()
{
    QFont::insertSubstitutions(QString::fromStdU16String(std::u16string(kFontFamily)),
                               { QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP") });
}

} // namespace kamorin
