#include "cli/MachineName.h"
#include "cli/Options.h"
#include "mainwindow/LoopUnits.h"
#include "results/ResultDocument.h"
#include "results/ResultDocumentWriter.h"
#include "results/ResultsError.h"
#include "support/SampleResult.h"

#include <QTest>

using namespace kamorin;

namespace {

// Characters beyond the first plane: two UTF-16 units each.
QString emoji(int count)
{
    return QString::fromUcs4(U"\U0001F600").repeated(count);
}

// The parse result as one comparable line.
QString describe(const Command &command)
{
    if (const auto *options = std::get_if<RunOptions>(&command)) {
        const auto show = [](const std::optional<QString> &text) {
            return text ? u'[' + *text + u']' : QStringLiteral("-");
        };
        QString line = QStringLiteral("run count=%1 unit=%2 speed=%3 json=%4%5")
                               .arg(show(options->series.count), show(options->series.unit),
                                    show(options->series.speed),
                                    options->form == OutputForm::Json ? QStringLiteral("yes")
                                                                      : QStringLiteral("no"),
                                    options->series.machine ? QStringLiteral(" machine=")
                                                    + show(options->series.machine)
                                                            : QString());
        // The benchmark options only where they differ from their defaults.
        if (options->series.runs != 1)
            line += QStringLiteral(" runs=%1").arg(options->series.runs);
        if (options->series.warmup != 0)
            line += QStringLiteral(" warmup=%1").arg(options->series.warmup);
        if (options->threads)
            line += QStringLiteral(" threads=%1").arg(*options->threads);
        if (options->cpu)
            line += QStringLiteral(" cpu=%1").arg(*options->cpu);
        if (options->form == OutputForm::Csv)
            line += QStringLiteral(" csv");
        if (options->form == OutputForm::Markdown)
            line += QStringLiteral(" markdown");
        if (options->rank)
            line += QStringLiteral(" rank");
        if (options->forceThreads)
            line += QStringLiteral(" force");
        if (options->autoCount)
            line += QStringLiteral(" auto");
        if (options->minimumSeconds != 1)
            line += QStringLiteral(" min-time=%1").arg(options->minimumSeconds);
        if (!options->progress)
            line += QStringLiteral(" no-progress");
        if (options->save)
            line += QStringLiteral(" save");
        if (!options->label.isEmpty())
            line += QStringLiteral(" label=[%1]").arg(options->label);
        if (options->page)
            line += QStringLiteral(" report=[%1]").arg(*options->page);
        if (!options->store.isEmpty())
            line += QStringLiteral(" store=[%1]").arg(options->store);
        return line;
    }
    if (const auto *store = std::get_if<StoreCommand>(&command)) {
        const auto form = [](OutputForm f) {
            return f == OutputForm::Json        ? QStringLiteral(" json")
                    : f == OutputForm::Csv      ? QStringLiteral(" csv")
                    : f == OutputForm::Markdown ? QStringLiteral(" markdown")
                                                : QString();
        };
        if (const auto *h = std::get_if<ShowHistory>(store))
            return QStringLiteral("history label=[%1] model=[%2] machine=[%3]%4")
                    .arg(h->filter.label.value_or(u"-"_qs),
                         h->filter.machineModel.value_or(u"-"_qs), h->machine, form(h->form));
        if (const auto *c = std::get_if<CompareResults>(store))
            return QStringLiteral("compare [%1] [%2] fail=%3 report=[%4]%5")
                    .arg(c->a, c->b,
                         c->failIfSlowerPercent ? QString::number(*c->failIfSlowerPercent)
                                                : QStringLiteral("-"),
                         c->page.value_or(u"-"_qs), form(c->form));
        if (const auto *i = std::get_if<ImportResults>(store))
            return QStringLiteral("import [%1] store=[%2]").arg(i->files.join(u'|'), i->store);
        if (const auto *e = std::get_if<ExportResults>(store))
            return QStringLiteral("export [%1] model=[%2]")
                    .arg(e->file, e->filter.machineModel.value_or(u"-"_qs));
        return QStringLiteral("forget [%1]").arg(std::get<ForgetResult>(*store).id);
    }
    if (std::holds_alternative<ShowHelp>(command))
        return QStringLiteral("help");
    if (std::holds_alternative<ShowVersion>(command))
        return QStringLiteral("version");
    if (std::holds_alternative<ListMachines>(command))
        return QStringLiteral("list machines");
    return QStringLiteral("usage error: ") + std::get<UsageError>(command).message;
}

} // namespace

class TestOptions : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parse_data();
    void parse();
    void refusedValueIsNamed();
    void unitNames_data();
    void unitNames();
    void machineNames_data();
    void machineNames();
    void everyMachineIsFoundFolded();
    void labelIsTakenByOneRule_data();
    void labelIsTakenByOneRule();
};

void TestOptions::parse_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("expected");

    const auto args = [](std::initializer_list<const char *> list) {
        QStringList result;
        for (const char *a : list)
            result << QString::fromUtf8(a);
        return result;
    };
    QTest::newRow("nothing") << QStringList() << "run count=- unit=- speed=- json=no";
    QTest::newRow("separate values") << args({ "--count", "100", "--unit", "回", "--speed", "0" })
                                     << "run count=[100] unit=[回] speed=[0] json=no";
    QTest::newRow("joined values") << args({ "--count=100", "--unit=億回", "--json" })
                                   << "run count=[100] unit=[億回] speed=- json=yes";
    QTest::newRow("empty joined value")
            << args({ "--count=" }) << "run count=[] unit=- speed=- json=no";
    QTest::newRow("negative joined value")
            << args({ "--count=-5" }) << "run count=[-5] unit=- speed=- json=no";
    QTest::newRow("negative separate value")
            << args({ "--count", "-5" }) << "run count=[-5] unit=- speed=- json=no";
    QTest::newRow("value that looks like an option")
            << args({ "--count", "--json" }) << "run count=[--json] unit=- speed=- json=no";
    QTest::newRow("value with =") << args({ "--count==3" })
                                  << "run count=[=3] unit=- speed=- json=no";
    QTest::newRow("last one wins")
            << args({ "--count=1", "--count=2" }) << "run count=[2] unit=- speed=- json=no";
    QTest::newRow("machine typed exactly")
            << args({ "--machine", "MMX-Pentium166" })
            << "run count=- unit=- speed=- json=no machine=[MMX-Pentium166]";
    QTest::newRow("joined machine")
            << args({ "--machine=Mobile　PenIII500" })
            << "run count=- unit=- speed=- json=no machine=[Mobile　PenIII500]";
    QTest::newRow("machine typed in ASCII, taken in the table's spelling")
            << args({ "--machine=mobile penIII500" })
            << "run count=- unit=- speed=- json=no machine=[Mobile　PenIII500]";
    QTest::newRow("ASCII unit, taken as the window's")
            << args({ "--count=2", "--unit=10k" }) << "run count=[2] unit=[万回] speed=- json=no";
    QTest::newRow("list machines") << args({ "--list-machines" }) << "list machines";
    QTest::newRow("help") << args({ "--help" }) << "help";
    QTest::newRow("short help") << args({ "-h" }) << "help";
    QTest::newRow("version") << args({ "--version" }) << "version";
    QTest::newRow("missing value") << args({ "--count" }) << "usage error";
    QTest::newRow("unknown option") << args({ "--fast" }) << "usage error";
    QTest::newRow("prefix of an option") << args({ "--co=1" }) << "usage error";
    QTest::newRow("stray word") << args({ "100" }) << "usage error";

    const QString plain = QStringLiteral("run count=- unit=- speed=- json=no");
    QTest::newRow("runs and warm-up")
            << args({ "--runs", "3", "--warmup=1" }) << plain + QStringLiteral(" runs=3 warmup=1");
    QTest::newRow("largest runs") << args({ "--runs=1000", "--warmup=1000" })
                                  << plain + QStringLiteral(" runs=1000 warmup=1000");
    QTest::newRow("leading zeros") << args({ "--runs=007" }) << plain + QStringLiteral(" runs=7");
    QTest::newRow("no warm-up") << args({ "--warmup=0" }) << plain;
    QTest::newRow("threads forced on a CPU")
            << args({ "--threads=4", "--force-threads", "--cpu", "0" })
            << plain + QStringLiteral(" threads=4 cpu=0 force auto");
    QTest::newRow("csv") << args({ "--csv", "--runs=2" }) << plain + QStringLiteral(" runs=2 csv");
    QTest::newRow("markdown, ranked")
            << args({ "--markdown", "--rank" }) << plain + QStringLiteral(" markdown rank auto");
    QTest::newRow("rank with json, counted by itself")
            << args({ "--rank", "--json" }) << "run count=- unit=- speed=- json=yes rank auto";
    QTest::newRow("threads with a count") << args({ "--threads=2", "--count=9000" })
                                          << "run count=[9000] unit=- speed=- json=no threads=2";
    QTest::newRow("count auto") << args({ "--count=auto", "--min-time", "2.5", "--no-progress" })
                                << plain + QStringLiteral(" auto min-time=2.5 no-progress");
    QTest::newRow("any display speed the animation takes")
            << args({ "--speed=99" }) << "run count=- unit=- speed=[99] json=no";
    QTest::newRow("options ended by --")
            << args({ "--json", "--" }) << "run count=- unit=- speed=- json=yes";

    const auto refused = [](const char *option) {
        return QStringLiteral("usage error: %1 には").arg(QString::fromUtf8(option));
    };
    QTest::newRow("no runs") << args({ "--runs=0" }) << refused("--runs");
    QTest::newRow("runs too many") << args({ "--runs=1001" }) << refused("--runs");
    QTest::newRow("runs letters") << args({ "--runs", "abc" }) << refused("--runs");
    QTest::newRow("runs empty") << args({ "--runs=" }) << refused("--runs");
    QTest::newRow("runs with sign") << args({ "--runs=+3" }) << refused("--runs");
    QTest::newRow("runs with exponent") << args({ "--runs=1e2" }) << refused("--runs");
    QTest::newRow("runs with blank") << args({ "--runs= 3" }) << refused("--runs");
    QTest::newRow("runs in full-width digits") << args({ "--runs=３" }) << refused("--runs");
    QTest::newRow("negative warm-up") << args({ "--warmup", "-1" }) << refused("--warmup");
    QTest::newRow("huge warm-up") << args({ "--warmup=99999999999999999999" })
                                  << refused("--warmup");
    QTest::newRow("no threads") << args({ "--threads=0" }) << refused("--threads");
    QTest::newRow("CPU not a number") << args({ "--cpu=first" }) << refused("--cpu");
    QTest::newRow("runs without value")
            << args({ "--runs" }) << "usage error: --runs には値が必要です。";
    QTest::newRow("csv with json") << args({ "--csv", "--json" })
                                   << "usage error: --json と --csv は同時に指定できません。";
    QTest::newRow("markdown with json")
            << args({ "--json", "--markdown" })
            << "usage error: --json と --markdown は同時に指定できません。";
    QTest::newRow("csv with rank") << args({ "--rank", "--csv" }) << "usage error: --csv と --rank";
    QTest::newRow("csv with threads")
            << args({ "--csv", "--threads=2" }) << "usage error: --csv と --threads";
    QTest::newRow("machine typo") << args({ "--count=100", "--machine=typo" })
                                  << "usage error: --machine \"typo\" は基準機の表にありません";
    QTest::newRow("machine with a trailing blank")
            << args({ "--machine", "MMX-Pentium166 " }) << "usage error: --machine";
    QTest::newRow("display speed no number") << args({ "--count=6500", "--speed=fast", "--runs=3" })
                                             << "usage error: --speed \"fast\": 実行時エラー '13'";
    QTest::newRow("force without threads")
            << args({ "--force-threads" }) << "usage error: --force-threads は --threads と";
    QTest::newRow("help with more")
            << args({ "--count=1", "--help" }) << "usage error: --help はほかのオプション";
    QTest::newRow("version with more")
            << args({ "--version", "--json" }) << "usage error: --version はほかのオプション";
    QTest::newRow("list with more") << args({ "--rank", "--list-machines" })
                                    << "usage error: --list-machines はほかのオプション";
    QTest::newRow("operand after --")
            << args({ "--", "--json" })
            << "usage error: オプションでない引数は受け付けません: --json";
    QTest::newRow("value for a flag")
            << args({ "--json=yes" }) << "usage error: --json は値を取りません";
    QTest::newRow("no minimum time") << args({ "--min-time=0" }) << refused("--min-time");
    QTest::newRow("minimum time past an hour")
            << args({ "--min-time=3601" }) << refused("--min-time");
    QTest::newRow("minimum time not finite") << args({ "--min-time=inf" }) << refused("--min-time");
    QTest::newRow("save with a label and a report")
            << args({ "--save", "--label", "BIOS 1.2", "--report=r.html", "--store=s" })
            << plain + QStringLiteral(" save label=[BIOS 1.2] report=[r.html] store=[s]");
    QTest::newRow("history filtered, scored against a machine")
            << args({ "--history", "--label=x", "--machine-model=EPYC", "--machine=i486 DX2 50",
                      "--csv" })
            << "history label=[x] model=[EPYC] machine=[i486 DX2 50] csv";
    QTest::newRow("history in markdown")
            << args({ "--history", "--markdown" })
            << "history label=[-] model=[-] machine=[MMX-Pentium166] markdown";
    QTest::newRow("history against the window's machine")
            << args({ "--history", "--json" })
            << "history label=[-] model=[-] machine=[MMX-Pentium166] json";
    QTest::newRow("compare two operands")
            << args({ "--compare", "before", "last", "--fail-if-slower=5", "--report", "c.html" })
            << "compare [before] [last] fail=5 report=[c.html]";
    QTest::newRow("compare in markdown") << args({ "--compare", "a", "b", "--markdown" })
                                         << "compare [a] [b] fail=- report=[-] markdown";
    QTest::newRow("compare given twice") << args({ "--compare=a", "--compare=b", "--json" })
                                         << "compare [a] [b] fail=- report=[-] json";
    QTest::newRow("import several files")
            << args({ "--import", "a.json", "b.json", "--store", "s" })
            << "import [a.json|b.json] store=[s]";
    QTest::newRow("import stdin twice")
            << args({ "--import", "-", "a.json", "-" }) << "usage error: --import の「-」";
    QTest::newRow("export to stdout")
            << args({ "--export=-", "--machine-model=Xeon" }) << "export [-] model=[Xeon]";
    QTest::newRow("forget") << args({ "--forget", "abc" }) << "forget [abc]";
    QTest::newRow("two store commands")
            << args({ "--history", "--forget=x" }) << "usage error: --history と --forget は同時に";
    QTest::newRow("run option with a store command")
            << args({ "--history", "--count=5" }) << "usage error: --count は --history と同時に";
    QTest::newRow("save with a store command")
            << args({ "--compare", "a", "b", "--save" }) << "usage error: --save は --compare と";
    QTest::newRow("compare with one operand")
            << args({ "--compare", "a" }) << "usage error: --compare には比べる 2 つの結果";
    QTest::newRow("compare with three operands")
            << args({ "--compare", "a", "b", "c" }) << "usage error: --compare には";
    QTest::newRow("operand with a history")
            << args({ "--history", "x" }) << "usage error: オプションでない引数";
    QTest::newRow("label without save or report")
            << args({ "--label=x" }) << "usage error: --label は --save か --report";
    QTest::newRow("label with a control character")
            << args({ "--save", "--label=a\x1b" }) << refused("--label");
    QTest::newRow("label last, which --compare takes for the newest")
            << args({ "--save", "--label=last" }) << refused("--label");
    QTest::newRow("label with a right-to-left override")
            << args({ "--save", "--label=a\u202eLTR" }) << refused("--label");
    QTest::newRow("label with a first-strong isolate")
            << args({ "--save", "--label=a\u2068b" }) << refused("--label");
    QTest::newRow("label with a line separator")
            << args({ "--save", "--label=a\u2028b" }) << refused("--label");
    // Drawn as "v1.23-".
    QTest::newRow("label with a right-to-left mark")
            << args({ "--save", "--label=v1.2\u200f-3" }) << refused("--label");
    QTest::newRow("label with an Arabic letter mark")
            << args({ "--save", "--label=a\u061cb" }) << refused("--label");
    // Looks like "BIOS 1.2".
    QTest::newRow("label with a zero-width space")
            << args({ "--save", "--label=BIOS 1.2\u200b" }) << refused("--label");
    QTest::newRow("label with a byte-order mark")
            << args({ "--save", "--label=\ufeffBIOS" }) << refused("--label");
    QTest::newRow("label with a tag character")
            << args({ "--save", "--label=BIOS\U000E0041" }) << refused("--label");
    QTest::newRow("label with a joiner at its end")
            << args({ "--save", "--label=BIOS\u200d" }) << refused("--label");
    QTest::newRow("label with a non-joiner inside a Persian word")
            << args({ "--save", "--label=\u0645\u06cc\u200c\u062e\u0648\u0627\u0647\u0645" })
            << plain
                    + QStringLiteral(
                            " save label=[\u0645\u06cc\u200c\u062e\u0648\u0627\u0647\u0645]");
    QTest::newRow("label with a joined emoji")
            << args({ "--save", "--label=\U0001F469\u200d\U0001F4BB" })
            << plain + QStringLiteral(" save label=[\U0001F469\u200d\U0001F4BB]");
    QTest::newRow("label of 201 emoji")
            << QStringList { QStringLiteral("--save"), QStringLiteral("--label=") + emoji(201) }
            << refused("--label");
    QTest::newRow("label of 200 emoji")
            << QStringList { QStringLiteral("--save"), QStringLiteral("--label=") + emoji(200) }
            << plain + QStringLiteral(" save label=[%1]").arg(emoji(200));
    QTest::newRow("store with a plain run")
            << args({ "--store=s" }) << "usage error: --store は --save";
    QTest::newRow("fail-if-slower without compare")
            << args({ "--fail-if-slower=5" }) << "usage error: --fail-if-slower は --compare と";
    QTest::newRow("fail-if-slower negative")
            << args({ "--compare", "a", "b", "--fail-if-slower=-5" })
            << refused("--fail-if-slower");
    QTest::newRow("machine model with a run")
            << args({ "--machine-model=x" }) << "usage error: --machine-model は --history か";
    QTest::newRow("history with a machine typo")
            << args({ "--history", "--machine=typo" }) << "usage error: --machine \"typo\"";
    QTest::newRow("history against a machine typed in capitals")
            << args({ "--history", "--machine=MMX-PENTIUM166" })
            << "history label=[-] model=[-] machine=[MMX-Pentium166]";
    QTest::newRow("history against a machine a slip away")
            << args({ "--history", "--machine=Mobile PenIII50" })
            << "usage error: --machine \"Mobile PenIII50\" は基準機の表にありません。近い名前: "
               "\"Mobile　PenIII500\", \"Mobile　PenIII700\"";
    QTest::newRow("auto count with a unit")
            << args({ "--count=auto", "--unit=回" }) << "usage error: --count auto は単位も選ぶ";
}

void TestOptions::parse()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, expected);
    const QString actual = describe(parseCommandLine(arguments));
    // A usage error row names the start of its message, or only that it is one.
    if (expected.startsWith(QStringLiteral("usage error")))
        QVERIFY2(actual.startsWith(expected), qPrintable(actual));
    else
        QCOMPARE(actual, expected);
}

void TestOptions::refusedValueIsNamed()
{
    const Command command = parseCommandLine({ QStringLiteral("--threads=many") });
    QCOMPARE(std::get<UsageError>(command).message,
             QStringLiteral("--threads には 1 から 1024 までの整数を指定してください"
                            "（「many」は使えません）。"));
}

void TestOptions::unitNames_data()
{
    QTest::addColumn<QString>("typed");
    // 0: refused.
    QTest::addColumn<int>("factor");

    QTest::newRow("回") << u"回"_qs << 1;
    QTest::newRow("億回") << u"億回"_qs << 100000000;
    QTest::newRow("1") << u"1"_qs << 1;
    QTest::newRow("100") << u"100"_qs << 100;
    QTest::newRow("1k") << u"1k"_qs << 1000;
    QTest::newRow("1000") << u"1000"_qs << 1000;
    QTest::newRow("10k") << u"10k"_qs << 10000;
    QTest::newRow("10000") << u"10000"_qs << 10000;
    QTest::newRow("100M") << u"100M"_qs << 100000000;
    QTest::newRow("1e8") << u"1e8"_qs << 100000000;
    QTest::newRow("100000000") << u"100000000"_qs << 100000000;
    // Once counted as 回 with a warning: a workload smaller than asked for.
    QTest::newRow("a word") << u"x"_qs << 0;
    QTest::newRow("empty") << QString() << 0;
    QTest::newRow("milli, not mega") << u"100m"_qs << 0;
    QTest::newRow("a multiplier no unit has") << u"10"_qs << 0;
    QTest::newRow("another spelling of 1000") << u"1e3"_qs << 0;
    QTest::newRow("the unit without its 回") << u"万"_qs << 0;
    QTest::newRow("a trailing blank") << u"万回 "_qs << 0;
    QTest::newRow("full-width digits") << u"１００"_qs << 0;
}

// Every name stands for one of the window's units, which is what the rest of
// the program is given; anything else is refused and the refusal lists them.
void TestOptions::unitNames()
{
    QFETCH(QString, typed);
    QFETCH(int, factor);
    const Command command = parseCommandLine({ QStringLiteral("--unit=") + typed });
    if (factor == 0) {
        const QString message = std::get<UsageError>(command).message;
        QVERIFY2(message.startsWith(u"--unit には単位 回 (1), 百回 (100), 千回 (1k, 1000)"_qs)
                         && message.contains(u"億回 (100M, 1e8, 100000000)"_qs)
                         && message.contains(u'「' + typed + u'」'),
                 qPrintable(message));
        return;
    }
    const std::optional<QString> unit = std::get<RunOptions>(command).series.unit;
    QVERIFY(unit);
    QCOMPARE(loopUnitFactor(*unit), std::optional<std::int32_t>(factor));
}

namespace {

// The reference table with one name more that folds as one of its own does,
// as a table could one day hold.
std::vector<ReferenceMachine> tableWithAClash()
{
    const auto entries = ReferenceMachineTable::entries();
    std::vector<ReferenceMachine> table(entries.begin(), entries.end());
    table.push_back({ u"PENTIUMII266", 1 });
    return table;
}

QString describe(const MachineMatch &match)
{
    if (const auto *found = std::get_if<MachineFound>(&match))
        return QStringLiteral("found ") + found->name;
    if (const auto *ambiguous = std::get_if<MachineAmbiguous>(&match))
        return QStringLiteral("ambiguous ") + ambiguous->names.join(u'|');
    return QStringLiteral("unknown ") + std::get<MachineUnknown>(match).nearest.join(u'|');
}

} // namespace

void TestOptions::machineNames_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");

    QTest::newRow("exact") << u"K6-2 300"_qs << u"found K6-2 300"_qs;
    QTest::newRow("exact, with its ideographic space")
            << u"Mobile　PenIII500"_qs << u"found Mobile　PenIII500"_qs;
    QTest::newRow("exact, though another folds alike")
            << u"PENTIUMII266"_qs << u"found PENTIUMII266"_qs;
    QTest::newRow("a space for the ideographic space")
            << u"Mobile PenIII500"_qs << u"found Mobile　PenIII500"_qs;
    QTest::newRow("III for Ⅲ") << u"PenIII(Cop)800"_qs << u"found PenⅢ(Cop)800"_qs;
    QTest::newRow("case") << u"athlonmp1200@1413"_qs << u"found AthlonMP1200@1413"_qs;
    QTest::newRow("full-width letters")
            << u"ＭＭＸ－Ｐｅｎｔｉｕｍ１６６"_qs << u"found MMX-Pentium166"_qs;
    QTest::newRow("two names fold alike")
            << u"pentiumii266"_qs << u"ambiguous PentiumⅡ266|PENTIUMII266"_qs;
    QTest::newRow("a slip, the two nearest")
            << u"Mobile PenIII50"_qs << u"unknown Mobile　PenIII500|Mobile　PenIII700"_qs;
    // A swap is one slip: Duron800 before the table's earlier Duron600.
    QTest::newRow("two letters swapped")
            << u"Duorn800"_qs << u"unknown Duron800|Duron600|Duron700"_qs;
    QTest::newRow("a space too many") << u"Athlon 1000"_qs << u"unknown Athlon1000"_qs;
    QTest::newRow("a trailing blank") << u"MMX-Pentium166 "_qs << u"unknown MMX-Pentium166"_qs;
    QTest::newRow("a few at most, nearest first")
            << u"K6-2 30"_qs << u"unknown K6-2 300|K6-2 350|K6-2 400"_qs;
    QTest::newRow("nothing near") << u"Core i7"_qs << u"unknown "_qs;
    QTest::newRow("empty") << QString() << u"unknown "_qs;
}

void TestOptions::machineNames()
{
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    QCOMPARE(describe(matchMachineName(typed, tableWithAClash())), expected);
}

// No two names of the table fold alike, so each is found however its width
// and case are typed.
void TestOptions::everyMachineIsFoundFolded()
{
    for (const ReferenceMachine &machine : ReferenceMachineTable::entries()) {
        const QString name
                = QString::fromUtf16(machine.name.data(), qsizetype(machine.name.size()));
        const QString typed = name.normalized(QString::NormalizationForm_KC).toUpper();
        QCOMPARE(describe(matchMachineName(typed)), u"found "_qs + name);
    }
}

void TestOptions::labelIsTakenByOneRule_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<bool>("taken");

    QTest::newRow("plain") << u"BIOS 1.2"_qs << true;
    // What --compare reads as the result saved last.
    QTest::newRow("last") << u"last"_qs << false;
    QTest::newRow("last in capitals") << u"LAST"_qs << true;
    QTest::newRow("an escape") << u"a\x1b[2J"_qs << false;
    QTest::newRow("a right-to-left override") << u"a\u202eLTR"_qs << false;
    QTest::newRow("200 emoji") << emoji(200) << true;
    QTest::newRow("201 emoji") << emoji(201) << false;
}

// --label and a results file's label are held to one rule: what one refuses,
// the other refuses too.
void TestOptions::labelIsTakenByOneRule()
{
    QFETCH(QString, label);
    QFETCH(bool, taken);
    const Command command
            = parseCommandLine({ QStringLiteral("--save"), QStringLiteral("--label=") + label });
    QCOMPARE(!std::holds_alternative<UsageError>(command), taken);
    const SavedResult result = sampleResult(label);
    const QByteArray file
            = resultDocument({ &result, 1 }, [](const Warning &) { return u"警告"_qs; });
    try {
        QCOMPARE(parseResultDocument(file, u"in.json"_qs).at(0).label, label);
        QVERIFY(taken);
    } catch (const ResultsError &error) {
        QVERIFY2(!taken, qPrintable(error.message()));
        QVERIFY2(error.message().contains(u"results[0].label"_qs), qPrintable(error.message()));
    }
}

QTEST_APPLESS_MAIN(TestOptions)
#include "tst_options.moc"
