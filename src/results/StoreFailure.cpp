#include "results/StoreFailure.h"

#include <QCoreApplication>

namespace kamorin {

namespace {

struct Words
{
    Q_DECLARE_TR_FUNCTIONS(StoreFailure)
};

} // namespace

namespace {

// SQLite's primary result codes; an extended code keeps its primary one in
// the low byte.
enum SqliteCode
{
    Perm = 3,
    Busy = 5,
    Locked = 6,
    NoMem = 7,
    ReadOnly = 8,
    IoErr = 10,
    Corrupt = 11,
    Full = 13,
    CantOpen = 14,
    Auth = 23,
    NotADb = 26,
};

// Built whole rather than by chained arg(): a path that holds "%1" or "%2"
// would otherwise take the place of the next argument.
QString about(const QString &path, const QString &what)
{
    return Words::tr("結果の保存先「%1」%2").arg(path, what);
}

} // namespace

ResultsError readOnlyStore(const QString &path)
{
    return ResultsError(about(path, Words::tr("に書き込めません（読み取り専用です）。")));
}

ResultsError damagedStore(const QString &path)
{
    return ResultsError(about(path,
                              Words::tr("は壊れています（SQLite のデータベースとして読めない所が"
                                        "あります）。このファイルには手を付けません。")));
}

ResultsError storeFailure(const QString &path, int code)
{
    switch (code & 0xff) {
    case Busy:
    case Locked:
        return ResultsError(about(path,
                                  Words::tr("はほかのプロセスが %1 秒を超えて使っています。"
                                            "あとでもう一度実行してください。")
                                          .arg(kStoreBusyTimeoutMs / 1000)));
    case ReadOnly:
        return readOnlyStore(path);
    case Perm:
    case Auth:
        return ResultsError(about(path, Words::tr("を使う許可がありません。")));
    case NoMem:
        return ResultsError(about(path, Words::tr("を扱うメモリが足りません。")));
    case IoErr:
        return ResultsError(about(path, Words::tr("の読み書きで入出力エラーが起きました。")));
    case Corrupt:
    case NotADb:
        return damagedStore(path);
    case Full:
        return ResultsError(about(path, Words::tr("に書き込めません: ディスクがいっぱいです。")));
    case CantOpen:
        return ResultsError(about(path,
                                  Words::tr("を開けません（ファイルかフォルダーに入る許可が"
                                            "ないか、フォルダーがありません）。")));
    default:
        break;
    }
    return ResultsError(
            about(path, Words::tr("で SQLite のエラー (コード %1) が起きました。").arg(code)));
}

} // namespace kamorin
