#include "formats/PageInput.h"

#include "benchmark/Ranking.h"
#include "benchmark/SavedMachines.h"
#include "formats/FigureText.h"
#include "formats/Format.h"
#include "formats/HtmlPage.h"

namespace kamorin {

PageInput pageInputFor(const SavedResult &result, ResultSaved resultSaved,
                       std::span<const SavedResult> saved, std::optional<PageComparison> comparison,
                       const QDateTime &written)
{
    PageInput input;
    input.result = result;
    input.resultSaved = resultSaved == ResultSaved::Yes;
    input.comparison = std::move(comparison);
    input.written = written;
    if (const auto seconds = standardRunSeconds(result.median(), result.passes)) {
        const std::vector<SavedMachine> machines = savedMachines(saved, result.id);
        const Ranking ranking = rankAmong(ReferenceMachineTable::entries(), *seconds, machines);
        for (const RankRow &row : ranking.rows) {
            if (!row.saved) {
                input.ranking.push_back({ rankRowName(row),
                                          {},
                                          row.seconds,
                                          false,
                                          row.thisMachine,
                                          row.position });
                continue;
            }
            input.ranking.push_back({ row.saved->cpuModel,
                                      savedMachinePlace(row.saved->host, row.saved->label),
                                      row.seconds, true, false, row.position });
        }
    }
    if (input.resultSaved)
        input.modelHistory.push_back(result);
    for (const SavedResult &other : saved) {
        if (other.system.cpuModel == result.system.cpuModel && other.id != result.id)
            input.modelHistory.push_back(other);
    }
    return input;
}

namespace {

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

const Format &pageFormat()
{
    static const PageFormat page;
    return page;
}

} // namespace kamorin
