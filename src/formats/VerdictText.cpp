#include "formats/VerdictText.h"

#include <QCoreApplication>

namespace kamorin {

namespace {

struct Words
{
    Q_DECLARE_TR_FUNCTIONS(VerdictText)
};

} // namespace

QString verdictText(Verdict verdict)
{
    switch (verdict) {
    case Verdict::Faster:
        return Words::tr("速い");
    case Verdict::Slower:
        return Words::tr("遅い");
    case Verdict::NoDifference:
        return Words::tr("有意な差なし");
    case Verdict::NeedMoreRuns:
        break;
    }
    return Words::tr("判定には両方に %1 回以上の記録が必要です").arg(kMinimumRunsForVerdict);
}

QString verdictSentence(Verdict verdict)
{
    const QString text = verdictText(verdict);
    if (verdict == Verdict::Faster || verdict == Verdict::Slower)
        return text + Words::tr("（B は A より%1）").arg(text);
    return text;
}

} // namespace kamorin
