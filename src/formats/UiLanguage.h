#pragma once

#include <QString>

namespace kamorin {

// The language the words are in, as a BCP 47 tag (the HTML page's lang):
// "ja" with no translation installed, the translation's own tag otherwise.
QString uiLanguageTag();

} // namespace kamorin
