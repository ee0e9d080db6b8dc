#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <variant>

namespace kamorin {

// What the command line asks kamorin-cli to do. Texts left unset keep the
// window's design-time contents.
struct RunOptions
{
    std::optional<QString> count;
    std::optional<QString> unit;
    std::optional<QString> speed;
    std::optional<QString> machine;
    bool json = false;
};

struct ShowHelp
{ };
struct ShowVersion
{ };
struct ListMachines
{ };
struct UsageError
{
    QString message;
};

using Command = std::variant<RunOptions, ShowHelp, ShowVersion, ListMachines, UsageError>;

// Every option takes its value as "--count TEXT" or "--count=TEXT"; the value
// is taken as it stands, so "--count=" is the empty text and "--count -5" a
// negative count.
Command parseCommandLine(const QStringList &arguments);

QString usageText();

} // namespace kamorin
