#pragma once

#include "mainwindow/Form1.h"

#include <QStringList>

namespace kamorin::test {

// Every property a handler can assign, one control a line, so that two
// states compare with a readable difference.
inline QStringList formState(Form1 &form)
{
    QStringList lines;
    for (Control *control : form.controls()) {
        QString line = control->name()
                + (control->enabled() ? QStringLiteral(" on") : QStringLiteral(" off"));
        if (const auto *box = dynamic_cast<const TextControl *>(control))
            line += QStringLiteral(" text=") + box->text();
        if (const auto *box = dynamic_cast<const TextBox *>(control))
            line += QStringLiteral(" sel=%1+%2").arg(box->selStart()).arg(box->selLength());
        if (const auto *button = dynamic_cast<const CommandButton *>(control))
            line += QStringLiteral(" caption=") + button->caption();
        if (const auto *label = dynamic_cast<const Label *>(control))
            line += QStringLiteral(" caption=%1 width=%2 left=%3")
                            .arg(label->caption())
                            .arg(label->width())
                            .arg(label->left());
        lines << line;
    }
    return lines;
}

} // namespace kamorin::test
