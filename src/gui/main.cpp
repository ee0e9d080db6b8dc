#include "gui/Application.h"
#include "gui/MainWindow.h"
#include "gui/QtPlatform.h"
#include "mainwindow/Form1.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    kamorin::setUpApplication();

    kamorin::QtPlatform platform;
    kamorin::Form1 form;
    kamorin::Form_Load(form);

    kamorin::MainWindow window(form, platform);
    platform.attach(form, &window);
    window.show();
    return QApplication::exec();
}
