#include "gui/Icon.h"

// The icons live in a static library, where nothing else would pull their
// resource initialiser into the program.
static void initIconResources()
{
    Q_INIT_RESOURCE(icons);
}

namespace kamorin {

QIcon programIcon()
{
    initIconResources();
    QIcon icon;
    for (const int size : { 16, 32, 48, 64, 128, 256 })
        icon.addFile(QStringLiteral(":/icons/%1x%1/kamorin.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace kamorin
