#include "cli/CliPlatform.h"
#include "cli/Options.h"
#include "cli/Output.h"
#include "mainwindow/Form1.h"
#include "measure/Command1_Click.h"
#include "runtime/AppVersion.h"
#include "runtime/EventDispatch.h"

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

    if (!kamorin::dispatch(platform, [&] { kamorin::Command1_Click(form, platform); }))
        return kRuntimeErrorStatus;
    write(stdout, options.json ? kamorin::resultsAsJson(form) : kamorin::resultsAsText(form));
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
    if (std::holds_alternative<kamorin::ShowVersion>(command)) {
        const auto &v = kamorin::kAppVersion;
        write(stdout, QStringLiteral("kamorin-cli %1.%2.%3\n").arg(v.major).arg(v.minor).arg(v.revision));
        return 0;
    }
    write(stderr, QStringLiteral("kamorin-cli: ") + std::get<kamorin::UsageError>(command).message
                          + u'\n' + kamorin::usageText());
    return kUsageStatus;
}
