#include "gui/Fonts.h"
#include "gui/FormView.h"
#include "gui/Icon.h"
#include "gui/MainWindow.h"
#include "gui/QtPlatform.h"
#include "mainwindow/Form1.h"

#include <QApplication>
#include <QStyleFactory>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kamorin"));
    // One style everywhere, so the designed colours (SCORE's grey face) are honoured.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    kamorin::registerFontSubstitutes();

    kamorin::QtPlatform platform;
    kamorin::Form1 form;
    kamorin::Form_Load(form);

    kamorin::MainWindow window(form, platform);
    platform.attach(form, &window);
    window.show();
    window.formView()->widgetFor("Text2")->setFocus();
    return QApplication::exec();
}
