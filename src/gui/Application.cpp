#include "gui/Application.h"

#include "mainwindow/ControlDesign.h"

#include <QApplication>
#include <QFont>
#include <QGuiApplication>
#include <QStringList>
#include <QStyleFactory>

namespace kamorin {

void setUpApplication()
{
    QApplication::setApplicationName(QStringLiteral("Kamorin"));
    // Ties the window to its installed desktop entry, for its icon and name on Wayland.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.kamorin.Kamorin"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QFont::insertSubstitutions(
            QString::fromStdU16String(std::u16string(kFontFamily)),
            { QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP") });
}

} // namespace kamorin
