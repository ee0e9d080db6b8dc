#pragma once

#include <QMainWindow>

namespace kamorin {

class Form1;
class FormView;
class Platform;

// Form1's window: its menu bar above the client area, fixed single border.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    MainWindow(Form1 &form, Platform &platform);

    FormView *formView() const { return m_view; }

private:
    FormView *m_view;
};

} // namespace kamorin
