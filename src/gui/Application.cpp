#include "gui/Application.h"

#include "gui/Accessibility.h"
#include "gui/DevicePixelAccessible.h"
#include "mainwindow/ControlDesign.h"

#include <QApplication>
#include <QFont>
#include <QGuiApplication>
#include <QProxyStyle>
#include <QStringList>
#include <QStyleFactory>

namespace kamorin {

namespace {

// Fusion, except that Alt alone enters the menu bar, as on the desktops
// whose users know this window.
class MenuKeysStyle : public QProxyStyle
{
public:
    MenuKeysStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) { }

    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == SH_MenuBar_AltKeyNavigation)
            return 1;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

void setUpApplication()
{
    QApplication::setApplicationName(QStringLiteral("Kamorin"));
    // Ties the window to its installed desktop entry, for its icon and name on Wayland.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.kamorin.Kamorin"));
    QApplication::setStyle(new MenuKeysStyle);
    installAccessibleInterfaces();
    reportGeometryInDevicePixels();
    QFont::insertSubstitutions(
            QString::fromStdU16String(std::u16string(kFontFamily)),
            { QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP") });
}

} // namespace kamorin
