#pragma once

#include <QString>
#include <QStringList>

class QCoreApplication;

namespace kamorin {

// The variables gettext reads to choose the language of messages.
struct LocaleEnvironment
{
    QString language; // LANGUAGE: a colon list, most wanted first
    QString lcAll;
    QString lcMessages;
    QString lang;

    static LocaleEnvironment current();
};

// The language kamorin-cli speaks, as a language code: "ja", the program's own
// (its texts need no translation), or one of those it has a translation into.
QString chooseLanguage(const LocaleEnvironment &environment, const QStringList &translated);

// Installs the translation the environment asks for, if it is not Japanese.
void installLanguage(QCoreApplication &app);

} // namespace kamorin
