#include "cli/CliPlatform.h"
#include "cli/Options.h"
#include "cli/Output.h"
#include "mainwindow/Form1.h"
#include "measure/Command1_Click.h"
#include "report/Command4_Click.h"
#include "runtime/AppVersion.h"
#include "runtime/EventDispatch.h"
#include "scoring/Command6_Click.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

namespace {

constexpr int kRuntimeErrorStatus = 2;
constexpr int kUsageStatus = 64; // EX_USAGE

void write(std::FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
}

int run(const kamorin::RunOptions &options)
{
    kamorin::CliPlatform platform;
    kamorin::Form1 form;
    kamorin::Form_Load(form);
    if (options.count)
        form.Combo4.setText(*options.count);
    if (options.unit)
        form.Combo5.setText(*options.unit);
    if (options.speed)
        form.Combo2.setText(*options.speed);
    if (options.machine)
        form.Combo3.setText(*options.machine);

    // The buttons a user presses after a run: SCORE when it is enabled, then COPY.
    const bool ran = kamorin::dispatch(platform, [&] {
        kamorin::Command1_Click(form, platform);
        if (form.Command6.enabled())
            kamorin::Command6_Click(form, platform);
        kamorin::Command4_Click(form, platform);
    });
    if (!ran)
        return kRuntimeErrorStatus;
    const QString &report = platform.clipboardText();
    write(stdout,
          options.json ? kamorin::resultsAsJson(form, report)
                       : kamorin::resultsAsText(form, report));
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();

    const kamorin::Command command = kamorin::parseCommandLine(arguments);
    if (const auto *options = std::get_if<kamorin::RunOptions>(&command))
        return run(*options);
    if (std::holds_alternative<kamorin::ShowHelp>(command)) {
        write(stdout, kamorin::usageText());
        return 0;
    }
    if (std::holds_alternative<kamorin::ListMachines>(command)) {
        write(stdout, kamorin::machineList());
        return 0;
    }
    if (std::holds_alternative<kamorin::ShowVersion>(command)) {
        const auto &v = kamorin::kAppVersion;
        write(stdout,
              QStringLiteral("kamorin-cli %1.%2.%3\n").arg(v.major).arg(v.minor).arg(v.revision));
        return 0;
    }
    write(stderr,
          QStringLiteral("kamorin-cli: ") + std::get<kamorin::UsageError>(command).message + u'\n'
                  + kamorin::usageText());
    return kUsageStatus;
}
