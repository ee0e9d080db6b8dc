#pragma once

// What the parts of kamorin-cli's option parsing share: the options, and the
// checks that more than one kind of command makes.

#include "cli/Options.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

#include <initializer_list>
#include <optional>
#include <variant>

namespace kamorin {

inline const QCommandLineOption kHelp(QStringList { QStringLiteral("h"), QStringLiteral("help") });
inline const QCommandLineOption kVersion(QStringLiteral("version"));
inline const QCommandLineOption kListMachines(QStringLiteral("list-machines"));
inline const QCommandLineOption kCount(QStringLiteral("count"), {}, QStringLiteral("TEXT"));
inline const QCommandLineOption kUnit(QStringLiteral("unit"), {}, QStringLiteral("TEXT"));
inline const QCommandLineOption kSpeed(QStringLiteral("speed"), {}, QStringLiteral("TEXT"));
inline const QCommandLineOption kMachine(QStringLiteral("machine"), {}, QStringLiteral("TEXT"));
inline const QCommandLineOption kRuns(QStringLiteral("runs"), {}, QStringLiteral("N"));
inline const QCommandLineOption kWarmup(QStringLiteral("warmup"), {}, QStringLiteral("K"));
inline const QCommandLineOption kThreads(QStringLiteral("threads"), {}, QStringLiteral("N"));
inline const QCommandLineOption kCpu(QStringLiteral("cpu"), {}, QStringLiteral("K"));
inline const QCommandLineOption kMinTime(QStringLiteral("min-time"), {}, QStringLiteral("SECONDS"));
inline const QCommandLineOption kRank(QStringLiteral("rank"));
inline const QCommandLineOption kForceThreads(QStringLiteral("force-threads"));
inline const QCommandLineOption kNoProgress(QStringLiteral("no-progress"));
inline const QCommandLineOption kSave(QStringLiteral("save"));
inline const QCommandLineOption kLabel(QStringLiteral("label"), {}, QStringLiteral("TEXT"));
inline const QCommandLineOption kStore(QStringLiteral("store"), {}, QStringLiteral("PATH"));
inline const QCommandLineOption kReport(QStringLiteral("report"), {}, QStringLiteral("FILE"));
inline const QCommandLineOption kHistory(QStringLiteral("history"));
inline const QCommandLineOption kMachineModel(QStringLiteral("machine-model"), {},
                                              QStringLiteral("TEXT"));
inline const QCommandLineOption kForget(QStringLiteral("forget"), {}, QStringLiteral("ID"));
inline const QCommandLineOption kCompare(QStringLiteral("compare"), {}, QStringLiteral("A"));
inline const QCommandLineOption kFailIfSlower(QStringLiteral("fail-if-slower"), {},
                                              QStringLiteral("PERCENT"));
inline const QCommandLineOption kExport(QStringLiteral("export"), {}, QStringLiteral("FILE"));
inline const QCommandLineOption kImport(QStringLiteral("import"), {}, QStringLiteral("FILE"));
inline const QCommandLineOption kSkipBad(QStringLiteral("skip-bad"));

QString quoted(const QString &text);
// A plain decimal number such as 0.5 or 2e1; no blanks, no sign.
std::optional<double> plainDecimal(const QString &text);
UsageError outOfRange(const QString &option, const QString &value, const QString &rule);
// The options that choose an output form, one for each but the text.
QList<QCommandLineOption> outputFormOptions();
std::optional<UsageError> bothOutputForms(const QCommandLineParser &parser);
OutputForm outputForm(const QCommandLineParser &parser);
// A run option the chosen output form cannot go with.
std::optional<UsageError> optionTheFormRefuses(const QCommandLineParser &parser);
// The reference machine --machine names, in the table's own spelling, or why
// it is refused. Every option that names one takes it by this rule.
std::variant<QString, UsageError> referenceMachineOption(const QString &typed);
// An option of `options` given an empty value.
std::optional<UsageError> emptyValue(const QCommandLineParser &parser,
                                     std::initializer_list<const QCommandLineOption *> options);

// The store command the arguments give, or the reason they are refused; none
// when they name no store command.
std::optional<Command> parseStoreCommand(const QCommandLineParser &parser);
// An option only a store command takes, given with a run.
std::optional<UsageError> storeOnlyOption(const QCommandLineParser &parser);

} // namespace kamorin
