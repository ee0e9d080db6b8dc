#include "report/Command2_Click.h"

#include "mainwindow/Form1.h"

namespace kamorin {

void Command2_Click(Form1 &form)
{
    for (TextBox *field : { &form.Text1, &form.Text2, &form.Text3, &form.Text4, &form.Text5,
                            &form.Text6, &form.Text8 })
        field->setText(QString());
    form.Label14.setWidth(0);
    form.Label15.setWidth(0);
    form.Text7.setText(QString());
    form.Command6.setEnabled(false);
    form.Label18.setWidth(kCurtainFullWidth);
    form.Combo3.setEnabled(false);
    form.Label19.setCaption(QString());
    form.Label20.setCaption(QString());
}

} // namespace kamorin
