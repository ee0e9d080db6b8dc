#include "benchmark/WindowReadings.h"

#include "mainwindow/Form1.h"

namespace kamorin {

WindowReadings readWindow(const Form1 &form, const QString &report)
{
    return { form.Combo1.text(),
             form.Text2.text(),
             form.Label6.caption().trimmed(),
             form.Text4.text(),
             form.Text6.text(),
             form.Text5.text(),
             form.Text3.text(),
             form.Text8.text(),
             form.Command6.enabled(),
             form.Combo3.text(),
             form.Text7.text(),
             form.Label19.caption(),
             form.Label20.caption(),
             form.Label15.width(),
             form.Label14.width(),
             report };
}

} // namespace kamorin
