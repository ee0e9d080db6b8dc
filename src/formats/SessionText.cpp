#include "formats/SessionText.h"

#include "benchmark/CpuAffinity.h"

#include <QCoreApplication>

namespace kamorin {

namespace {

struct Words
{
    Q_DECLARE_TR_FUNCTIONS(SessionText)
};

QString stepText(SessionError::Step step, const SeriesPlan &plan)
{
    if (step == SessionError::Step::Count && plan.count)
        return QStringLiteral("--count \"%1\": ").arg(*plan.count);
    if (step == SessionError::Step::Machine && plan.machine)
        return QStringLiteral("--machine \"%1\": ").arg(*plan.machine);
    return {};
}

} // namespace

RunError sessionErrorText(const SessionError &error, const SeriesPlan &plan)
{
    switch (error.kind) {
    case SessionError::Kind::Runtime:
        break;
    case SessionError::Kind::ValuesDisagree:
        return { std::nullopt,
                 Words::tr("並列計算のスレッド %1 の計算値 %2 が、1 スレッドの計算値 %3 と"
                           "一致しません。")
                         .arg(error.copy)
                         .arg(error.value, error.expected) };
    case SessionError::Kind::RankNeedsALoop:
        return { std::nullopt, Words::tr("順位を付けるには 1 回以上のループが必要です。") };
    case SessionError::Kind::KeepNeedsALoop:
        return { std::nullopt,
                 Words::tr("結果を保存するにもレポートにするにも 1 回以上のループが必要です。") };
    }
    return { error.runtime.number, stepText(error.step, plan) + error.runtime.message };
}

QString refusalText(const SessionRefusal &refusal)
{
    switch (refusal.kind) {
    case SessionRefusal::Kind::NoSuchCpu:
        break;
    case SessionRefusal::Kind::TooManyThreads:
        return Words::tr("--threads %1 は論理 CPU の数 (%2) を超えています。"
                         "それでも実行するには --force-threads を付けてください。")
                .arg(refusal.threads)
                .arg(refusal.cpus.size());
    case SessionRefusal::Kind::CpuNotAllowed:
        return Words::tr(
                       "論理 CPU %1 はこのプロセスに許された CPU の外です（使える論理 CPU: %2）。")
                .arg(refusal.cpu, describeCpus(refusal.cpus));
    case SessionRefusal::Kind::CpuUnusable:
        return Words::tr("論理 CPU %1 で実行できません。").arg(refusal.cpu);
    }
    return Words::tr("論理 CPU %1 はありません（使える論理 CPU: %2）。")
            .arg(refusal.cpu, describeCpus(refusal.cpus));
}

} // namespace kamorin
