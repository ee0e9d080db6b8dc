#include "formats/Format.h"

namespace kamorin {

const std::vector<OutputFormEntry> &outputForms()
{
    // The order --csv, --json, --markdown is the order a refusal of two
    // names them in.
    static const std::vector<OutputFormEntry> forms {
        { OutputForm::Text, {}, false, false, {}, textFormat() },
        { OutputForm::Csv,
          QStringLiteral("csv"),
          true,
          false,
          { QStringLiteral("rank"), QStringLiteral("threads") },
          csvFormat() },
        { OutputForm::Json, QStringLiteral("json"), true, true, {}, jsonFormat() },
        { OutputForm::Markdown, QStringLiteral("markdown"), false, false, {}, markdownFormat() },
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
