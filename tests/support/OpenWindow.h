#pragma once

#include "gui/MainWindow.h"
#include "gui/QtPlatform.h"
#include "mainwindow/Form1.h"

#include <memory>

namespace kamorin::test {

// The main window as the program opens it: the form created and loaded, then
// its window built and shown. Members go in the order they are torn down.
struct OpenWindow
{
    OpenWindow()
    {
        Form_Load(form);
        window = std::make_unique<MainWindow>(form, platform);
        platform.attach(form, window.get());
        window->show();
    }

    Form1 form;
    QtPlatform platform;
    std::unique_ptr<MainWindow> window;
};

} // namespace kamorin::test
