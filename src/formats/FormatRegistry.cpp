#include "formats/Csv.h"
#include "formats/Format.h"
#include "formats/HtmlPage.h"
#include "formats/JsonOutput.h"
#include "formats/PageInput.h"
#include "formats/TextOutput.h"

namespace kamorin {

namespace {

class TextFormat final : public Format
{
public:
    QString run(const RunAnswer &a) const override
    {
        return resultsAsText(a.window, a.benchmark, a.autoCount);
    }
    void history(const HistoryListing &listing, const TextSink &write) const override
    {
        write(historyAsText(listing));
    }
    QString comparison(const ComparisonListing &listing) const override
    {
        return comparisonAsText(listing);
    }
};

class JsonFormat final : public Format
{
public:
    QString run(const RunAnswer &a) const override
    {
        return resultsAsJson(a.window, a.benchmark, a.savedId, a.error);
    }
    void history(const HistoryListing &listing, const TextSink &write) const override
    {
        writeHistoryAsJson(listing, write);
    }
    QString comparison(const ComparisonListing &listing) const override
    {
        return comparisonAsJson(listing);
    }
};

class CsvFormat final : public Format
{
public:
    QString run(const RunAnswer &a) const override
    {
        return runsAsCsv(a.benchmark, programVersion());
    }
    void history(const HistoryListing &listing, const TextSink &write) const override
    {
        write(historyAsCsv(listing));
    }
    QString comparison(const ComparisonListing &listing) const override
    {
        return comparisonAsCsv(listing);
    }
};

class PageFormat final : public Format
{
public:
    QString run(const RunAnswer &a) const override
    {
        if (!a.result)
            return {};
        return htmlPage(pageInputFor(*a.result, a.savedId ? ResultSaved::Yes : ResultSaved::No,
                                     a.saved, std::nullopt, a.written));
    }
    // The page draws one result: a listing has none of its own, and the
    // options refuse --report with --history.
    void history(const HistoryListing &, const TextSink &) const override { }
    // The page of B, compared with A.
    QString comparison(const ComparisonListing &l) const override
    {
        return htmlPage(pageInputFor(l.b, ResultSaved::Yes, l.saved,
                                     PageComparison { l.a, l.b, l.comparison }, l.written));
    }
};

} // namespace

const std::vector<OutputFormEntry> &outputForms()
{
    static const TextFormat text;
    static const JsonFormat json;
    static const CsvFormat csv;
    // The order --csv, --json, --markdown is the order a refusal of two
    // names them in.
    static const std::vector<OutputFormEntry> forms {
        { OutputForm::Text, {}, false, false, {}, text },
        { OutputForm::Csv,
          QStringLiteral("csv"),
          true,
          false,
          { QStringLiteral("rank"), QStringLiteral("threads") },
          csv },
        { OutputForm::Json, QStringLiteral("json"), true, true, {}, json },
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

const Format &pageFormat()
{
    static const PageFormat page;
    return page;
}

} // namespace kamorin
