// append_helper PATH PREFIX COUNT [PAD]: appends COUNT records "PREFIX-i-…-登録者" through the shared
// lock, each padded with PAD x's (long records make a kill land inside a write). Prints one line per
// record appended.
#include "shared/records.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 4 && args.size() != 5)
        return 2;
    const int count = args[3].toInt();
    const QString pad(args.size() == 5 ? args[4].toInt() : 0, u'x');
    for (int i = 0; i < count; ++i) {
        const QString value = args[2] + QStringLiteral("-%1-%2登録者").arg(i).arg(pad);
        if (!perumina::AppendQuotedRecords(args[1], {value}))
            return 1;
        std::printf("%d\n", i);
        std::fflush(stdout);
    }
    return 0;
}
