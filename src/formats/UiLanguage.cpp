#include "formats/UiLanguage.h"

#include <QCoreApplication>

namespace kamorin {

namespace {
struct Words
{
    Q_DECLARE_TR_FUNCTIONS(UiLanguage)
};
} // namespace

// Each translation names its own language, so the tag can never disagree
// with the words it labels, and a new translation needs no code.
QString uiLanguageTag()
{
    return Words::tr("ja", "The BCP 47 tag of this translation's language, e.g. en");
}

} // namespace kamorin
