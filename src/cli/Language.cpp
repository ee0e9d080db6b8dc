#include "cli/Language.h"

#include <QCoreApplication>
#include <QDir>
#include <QTranslator>

namespace kamorin {

namespace {

const QString kOwnLanguage = QStringLiteral("ja");
// Whoever reads none of the program's languages is answered in English.
const QString kFallback = QStringLiteral("en");
// Where the build puts the compiled translations, kamorin-cli_<language>.qm.
const QString kTranslations = QStringLiteral(":/i18n");
const QString kPrefix = QStringLiteral("kamorin-cli_");

// de_DE.UTF-8@euro → de; C.UTF-8 → C.
QString languageOf(const QString &locale)
{
    qsizetype end = 0;
    while (end < locale.size() && locale[end] != u'_' && locale[end] != u'.' && locale[end] != u'@')
        ++end;
    return locale.left(end);
}

// The C locale states no preference, so the program speaks its own language.
bool isPlain(const QString &locale)
{
    const QString language = languageOf(locale);
    return language == u"C" || language == u"POSIX";
}

QStringList builtInTranslations()
{
    QStringList languages;
    const QStringList files
            = QDir(kTranslations).entryList({ kPrefix + QStringLiteral("*.qm") }, QDir::Files);
    for (const QString &file : files)
        languages.append(file.mid(kPrefix.size()).chopped(3));
    return languages;
}

} // namespace

LocaleEnvironment LocaleEnvironment::current()
{
    return { qEnvironmentVariable("LANGUAGE"), qEnvironmentVariable("LC_ALL"),
             qEnvironmentVariable("LC_MESSAGES"), qEnvironmentVariable("LANG") };
}

// As gettext chooses: the first of LC_ALL, LC_MESSAGES and LANG that is set
// names the locale; unless that is C itself, LANGUAGE's list comes first, and
// a language with no translation in it is passed over. Unlike gettext, the
// names are taken as written, whether or not the system has that locale
// generated: a desktop set to English is answered in English even where only
// C.UTF-8 is installed.
QString chooseLanguage(const LocaleEnvironment &environment, const QStringList &translated)
{
    const auto spoken = [&](const QString &language) {
        return language == kOwnLanguage || translated.contains(language);
    };
    QString locale = environment.lcAll;
    if (locale.isEmpty())
        locale = environment.lcMessages;
    if (locale.isEmpty())
        locale = environment.lang;
    // Only the plain C locale silences LANGUAGE, as in gettext: C.UTF-8 is a
    // locale of its own, and leaves the choice to LANGUAGE.
    if (locale.isEmpty() || locale == u"C" || locale == u"POSIX")
        return kOwnLanguage;
    const QStringList wanted = environment.language.split(u':', Qt::SkipEmptyParts);
    for (const QString &entry : wanted) {
        // gettext reads C in the list as "the untranslated texts".
        if (isPlain(entry))
            return kOwnLanguage;
        if (spoken(languageOf(entry)))
            return languageOf(entry);
    }
    if (isPlain(locale))
        return kOwnLanguage;
    if (spoken(languageOf(locale)))
        return languageOf(locale);
    return translated.contains(kFallback) ? kFallback : kOwnLanguage;
}

void installLanguage(QCoreApplication &app)
{
    const QString language = chooseLanguage(LocaleEnvironment::current(), builtInTranslations());
    if (language == kOwnLanguage)
        return;
    auto *translator = new QTranslator(&app);
    if (translator->load(kPrefix + language, kTranslations))
        QCoreApplication::installTranslator(translator);
}

} // namespace kamorin
