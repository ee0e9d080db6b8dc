#include "gui/Application.h"

#include "mainwindow/ControlDesign.h"

#include <QApplication>
#include <QFont>
#include <QStringList>
#include <QStyleFactory>

namespace kamorin {

void setUpApplication()
{
    QApplication::setApplicationName(QStringLiteral("Kamorin"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QFont::insertSubstitutions(QString::fromStdU16String(std::u16string(kFontFamily)),
                               { QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP") });
}

} // namespace kamorin
