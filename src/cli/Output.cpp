#include "cli/Output.h"

#include "mainwindow/Form1.h"
#include "runtime/NumberText.h"
#include "scoring/ReferenceMachineTable.h"

#include <utility>
#include <vector>

namespace kamorin {

namespace {

QString jsonString(const QString &text)
{
    QString out = QStringLiteral("\"");
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'"':
            out += QStringLiteral("\\\"");
            break;
        case u'\\':
            out += QStringLiteral("\\\\");
            break;
        case u'\n':
            out += QStringLiteral("\\n");
            break;
        case u'\r':
            out += QStringLiteral("\\r");
            break;
        case u'\t':
            out += QStringLiteral("\\t");
            break;
        default:
            if (c.unicode() < 0x20)
                out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    return out + u'"';
}

} // namespace

QString resultsAsJson(const Form1 &form, const QString &report)
{
    const auto flag = [](bool on) { return on ? QStringLiteral("true") : QStringLiteral("false"); };
    const std::vector<std::pair<QString, QString>> fields {
        { QStringLiteral("loops"), jsonString(form.Combo1.text()) },
        { QStringLiteral("value"), jsonString(form.Text2.text()) },
        { QStringLiteral("digits"), jsonString(form.Text4.text()) },
        { QStringLiteral("hours"), jsonString(form.Text6.text()) },
        { QStringLiteral("minutes"), jsonString(form.Text5.text()) },
        { QStringLiteral("seconds"), jsonString(form.Text3.text()) },
        { QStringLiteral("hundredths"), jsonString(form.Text8.text()) },
        { QStringLiteral("score_enabled"), flag(form.Command6.enabled()) },
        { QStringLiteral("machine"), jsonString(form.Combo3.text()) },
        { QStringLiteral("score"), jsonString(form.Text7.text()) },
        { QStringLiteral("reference_caption"), jsonString(form.Label19.caption()) },
        { QStringLiteral("your_caption"), jsonString(form.Label20.caption()) },
        { QStringLiteral("reference_bar"), singleToText(form.Label15.width()) },
        { QStringLiteral("your_bar"), singleToText(form.Label14.width()) },
        { QStringLiteral("report"), jsonString(report) },
    };
    QStringList members;
    for (const auto &[key, value] : fields)
        members << jsonString(key) + QStringLiteral(": ") + value;
    return u'{' + members.join(QStringLiteral(", ")) + QStringLiteral("}\n");
}

QString resultsAsText(const Form1 &form, const QString &report)
{
    QString out;
    out += QStringLiteral("ループ回数　%1\n").arg(form.Combo1.text());
    out += QStringLiteral("計算値　　　%1\n").arg(form.Text2.text());
    out += QStringLiteral("真値　　　　%1\n").arg(form.Label6.caption().trimmed());
    if (form.Text4.text().isEmpty())
        out += QStringLiteral("小数点以下で一致した桁はありません。\n");
    else
        out += form.Label7.caption() + u' ' + form.Text4.text() + u' ' + form.Label9.caption()
                + u'\n';
    out += QStringLiteral("計算時間　　%1時間%2分%3秒%4\n")
                   .arg(form.Text6.text(), form.Text5.text(), form.Text3.text(), form.Text8.text());
    if (form.Command6.enabled())
        out += QStringLiteral("SCORE　　　%1（基準機：%2）\n")
                       .arg(form.Text7.text(), form.Combo3.text());
    else
        out += QStringLiteral("SCORE には 1 秒以上かかった計算結果が必要です。"
                              "ループ回数を増やしてください（例: --count 9000）。\n");
    QString terminalReport = report;
    out += u'\n' + terminalReport.replace(QStringLiteral("\r\n"), QStringLiteral("\n")) + u'\n';
    return out;
}

QString machineList()
{
    QString out;
    const auto machines = ReferenceMachineTable::entries();
    const QStringList listed = ReferenceMachineTable::listedNames();
    for (qsizetype i = 0; i < listed.size(); ++i)
        out += listed[i] + u'\t' + doubleToText(machines[static_cast<std::size_t>(i)].seconds)
                + u'\n';
    return out;
}

} // namespace kamorin
