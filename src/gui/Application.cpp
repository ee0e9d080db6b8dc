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
#include <QStyleOptionMenuItem>

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

    // Fusion lights a menu bar's item only while its menu is open; a menu
    // bar that holds the keys lights it too, or nothing shows that Alt
    // took them.
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget) const override
    {
        const auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(option);
        if (element == CE_MenuBarItem && item && widget && widget->hasFocus()
            && (item->state & State_Selected)) {
            QStyleOptionMenuItem lit = *item;
            lit.state |= State_Sunken;
            QProxyStyle::drawControl(element, &lit, painter, widget);
            return;
        }
        QProxyStyle::drawControl(element, option, painter, widget);
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
