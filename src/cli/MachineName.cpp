#include "cli/MachineName.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace kamorin {

namespace {

constexpr qsizetype kMostSuggested = 3;

QString nameOf(const ReferenceMachine &machine)
{
    return QString::fromUtf16(machine.name.data(), qsizetype(machine.name.size()));
}

// Compatibility composition turns the full-width forms, the ideographic space
// and the Roman numerals Ⅱ and Ⅲ into their ASCII letters; case folding then
// makes "PENIII" and "PenIII" one.
QString folded(const QString &name)
{
    return name.normalized(QString::NormalizationForm_KC).toCaseFolded();
}

// Edits, with two neighbours swapped counted as one: the commonest slip of
// the fingers.
qsizetype editDistance(QStringView a, QStringView b)
{
    std::vector<qsizetype> beforeLast(b.size() + 1), last(b.size() + 1), row(b.size() + 1);
    for (qsizetype j = 0; j <= b.size(); ++j)
        last[j] = j;
    for (qsizetype i = 1; i <= a.size(); ++i) {
        row[0] = i;
        for (qsizetype j = 1; j <= b.size(); ++j) {
            row[j] = std::min(
                    { last[j] + 1, row[j - 1] + 1, last[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1) });
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                row[j] = std::min(row[j], beforeLast[j - 2] + 1);
        }
        std::swap(beforeLast, last);
        std::swap(last, row);
    }
    return last[b.size()];
}

// Near enough to be what was meant: a slip or two, more in a longer name, and
// no further from it than one edit beyond the nearest, so that one close name
// is not drowned among merely similar ones.
QStringList nearestNames(const QString &typed, std::span<const ReferenceMachine> table)
{
    struct Candidate
    {
        qsizetype distance;
        QString name;
    };
    const QString wanted = folded(typed);
    const qsizetype nearEnough = std::max<qsizetype>(2, wanted.size() / 3);
    std::vector<Candidate> candidates;
    for (const ReferenceMachine &machine : table) {
        const QString name = nameOf(machine);
        const QString folds = folded(name);
        // Every edit changes the length by one at most: a text far longer
        // than any name, pasted by mistake, is passed over at once.
        if (std::abs(folds.size() - wanted.size()) > nearEnough)
            continue;
        const qsizetype distance = editDistance(wanted, folds);
        const bool seen = std::any_of(candidates.begin(), candidates.end(),
                                      [&](const Candidate &c) { return c.name == name; });
        if (distance <= nearEnough && !seen)
            candidates.push_back({ distance, name });
    }
    // Stable: of names as near, the table's order.
    std::stable_sort(
            candidates.begin(), candidates.end(),
            [](const Candidate &a, const Candidate &b) { return a.distance < b.distance; });
    QStringList nearest;
    for (const Candidate &candidate : candidates) {
        if (nearest.size() == kMostSuggested
            || candidate.distance > candidates.front().distance + 1)
            break;
        nearest << candidate.name;
    }
    return nearest;
}

} // namespace

MachineMatch matchMachineName(const QString &typed, std::span<const ReferenceMachine> table)
{
    const QStringView wanted(typed);
    for (const ReferenceMachine &machine : table) {
        if (wanted == QStringView(machine.name.data(), qsizetype(machine.name.size())))
            return MachineFound { typed };
    }
    const QString wantedFolded = folded(typed);
    QStringList alike;
    for (const ReferenceMachine &machine : table) {
        const QString name = nameOf(machine);
        if (folded(name) == wantedFolded && !alike.contains(name))
            alike << name;
    }
    if (alike.size() == 1)
        return MachineFound { alike.front() };
    if (alike.size() > 1)
        return MachineAmbiguous { alike };
    return MachineUnknown { nearestNames(typed, table) };
}

} // namespace kamorin
