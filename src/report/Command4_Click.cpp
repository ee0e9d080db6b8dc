#include "report/Command4_Click.h"

#include "mainwindow/Form1.h"

namespace kamorin {

namespace {

void selectLeading(TextBox &box, int length)
{
    box.setSelStart(0);
    box.setSelLength(length);
}

} // namespace

void Command4_Click(Form1 &form, Platform &platform)
{
    form.Text1.setText(form.Combo1.text());

    selectLeading(form.Text1, 20);
    selectLeading(form.Text2, 20);
    selectLeading(form.Text6, 5);
    selectLeading(form.Text5, 5);
    selectLeading(form.Text8, 5);
    selectLeading(form.Text3, 5);
    selectLeading(form.Text7, 10);

    platform.clearClipboard();

    // Read in this order; the report is then put together in its own.
    const QString count = form.Combo4.text();
    const QString unit = form.Combo5.text();
    const QString value = form.Text2.selText();
    const QString decimalsCaption = form.Label7.caption();
    const QString digits = form.Text4.text();
    const QString agreeCaption = form.Label9.caption();
    const QString hours = form.Text6.selText();
    const QString minutes = form.Text5.selText();
    const QString seconds = form.Text3.selText();
    const QString hundredths = form.Text8.selText();
    const QString score = form.Text7.selText();
    const QString machine = form.Combo3.text();

    const QString lineBreak = QStringLiteral("\r\n");
    const QString report = QStringLiteral("★Kamorin(Ver1.2.7) 結果★") + lineBreak
            + QStringLiteral("ループ回数 ") + count + unit + QStringLiteral("  計算値 ") + value
            + lineBreak + decimalsCaption + digits + agreeCaption + lineBreak
            + QStringLiteral("計算時間 ") + hours + QStringLiteral("時間") + minutes
            + QStringLiteral("分") + seconds + QStringLiteral("秒") + hundredths
            + QStringLiteral(" SCORE ") + score + QStringLiteral("（基準機：") + machine
            + QStringLiteral("）");

    platform.setClipboardText(report);
}

} // namespace kamorin
