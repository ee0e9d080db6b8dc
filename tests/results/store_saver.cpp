// Saves N results one after another into the store named, printing each id
// once its save has returned: what a second process, or a killed one, did.
#include "results/ResultStore.h"
#include "results/ResultsError.h"
#include "support/SampleResult.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 4) {
        std::fputs("usage: store_saver STORE COUNT LABEL\n", stderr);
        return 64;
    }
    try {
        kamorin::ResultStore store(QString::fromLocal8Bit(argv[1]));
        const int count = QByteArray(argv[2]).toInt();
        for (int i = 0; i < count; ++i) {
            const kamorin::SavedResult result
                    = kamorin::sampleResult(QString::fromLocal8Bit(argv[3]));
            store.save(result);
            std::printf("%s\n", result.id.toUtf8().constData());
            std::fflush(stdout);
        }
    } catch (const kamorin::ResultsError &error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
