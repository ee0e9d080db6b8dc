#include "formats/Format.h"

#include <QCoreApplication>

namespace kamorin {

const std::vector<OutputFormEntry> &outputForms()
{
    // In the order the usage text lists them and a refusal of two names them.
    static const std::vector<OutputFormEntry> forms {
        { OutputForm::Text, {}, false, false, {}, textFormat() },
        { OutputForm::Json,
          QStringLiteral("json"),
          true,
          true,
          {},
          jsonFormat(),
          QT_TRANSLATE_NOOP("OutputForms", "結果を JSON (UTF-8) で出力します (man kamorin-cli)") },
        { OutputForm::Csv,
          QStringLiteral("csv"),
          true,
          false,
          { QStringLiteral("rank"), QStringLiteral("threads") },
          csvFormat(),
          QT_TRANSLATE_NOOP("OutputForms", "要約の代わりに計測ごとの CSV を出力します") },
        { OutputForm::Markdown,
          QStringLiteral("markdown"),
          false,
          false,
          {},
          markdownFormat(),
          QT_TRANSLATE_NOOP("OutputForms",
                            "要約と順位表を Markdown (GitHub) の表で出力します。\n"
                            "--history と --compare の出力も表にします") },
    };
    return forms;
}

const OutputFormEntry &outputFormEntry(OutputForm form)
{
    for (const OutputFormEntry &entry : outputForms())
        if (entry.form == form)
            return entry;
    return outputForms().front();
}

const Format &formatFor(OutputForm form)
{
    return outputFormEntry(form).format;
}

} // namespace kamorin
