#pragma once

#include "mainwindow/Form1.h"

namespace kamorin::test {

// The window as a default run of 30.5 s leaves it once SCORE has been pressed
// against the start-up machine.
inline void showScoredRun(Form1 &form)
{
    using namespace Qt::StringLiterals;
    form.Text2.setText(u"3.14159260358982"_s);
    form.Text4.setText(u"7"_s);
    form.Text6.setText(u"0"_s);
    form.Text5.setText(u"0"_s);
    form.Text3.setText(u"30"_s);
    form.Text8.setText(u"50"_s);
    form.Text7.setText(u"6.754"_s);
    form.Command6.setEnabled(true);
    form.Combo3.setEnabled(true);
    form.Label16.setEnabled(true);
    form.Label17.setEnabled(true);
    form.Label14.setWidth(2579.25f);
    form.Label15.setWidth(381.9f);
    form.Label18.setWidth(0);
    form.Label19.setCaption(u"206.00"_s);
    form.Label20.setCaption(u"30.50"_s);
}

} // namespace kamorin::test
