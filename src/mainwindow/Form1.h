#pragma once

#include "mainwindow/Controls.h"
#include "runtime/Platform.h"

#include <vector>

namespace kamorin {

// The main window and the program's whole state: every handler reads and
// writes these controls and nothing else. Members carry the controls' own names.
class Form1 : public Form
{
public:
    Form1();

    // Declared first: every control keeps a reference to it.
    ControlObservers observers;

    // Loop count: the count and its unit, and the resolved count with its
    // copy, which lie hidden beneath them.
    ComboBox Combo4;
    ComboBox Combo5;
    ComboBox Combo1;
    TextBox Text1;

    // Results of a run.
    TextBox Text2;
    Label Label6;
    TextBox Text4;
    TextBox Text6;
    TextBox Text5;
    TextBox Text3;
    TextBox Text8;

    CommandButton Command1;
    CommandButton Command2;
    CommandButton Command4;
    CommandButton Command6;

    // Score and bar chart.
    ComboBox Combo3;
    TextBox Text7;
    ComboBox Combo2;
    Label Label13;
    Label Label14;
    Label Label15;
    Label Label17;
    Label Label16;
    Label Label20;
    Label Label19;
    Label Label8;
    Label Label18;

    // Fixed captions.
    Label Label1;
    Label Label2;
    Label Label5;
    Label Label7;
    Label Label9;
    Label Label4;
    Label Label11;
    Label Label10;
    Label Label3;
    Label Label12;

    MenuItem file;
    MenuItem exit;
    MenuItem Help;
    MenuItem Ver;

    // Every control, for whoever draws or inspects the form as a whole.
    std::vector<Control *> controls();
    Control &control(std::string_view name);

    std::function<void()> snapshot() override;
};

void Form_Load(Form1 &form);
void exit_Click(Form1 &form, Platform &platform);

} // namespace kamorin
