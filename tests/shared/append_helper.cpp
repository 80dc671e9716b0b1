// append_helper PATH PREFIX COUNT [PAD]: appends COUNT records "PREFIX-i-…-登録者" through the shared
// lock, each padded with PAD x's (long records make a kill land inside a write). Prints one line per
// record appended.
#include "shared/records.h"
#include "shared/sharedfile.h"
#include "shared/textfile.h"

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
    const int pad = args.size() == 5 ? args[4].toInt() : 0;
    // Long records are encoded once, so that the time goes into the writes a kill should land in.
    const QByteArray tail = *perumina::encodeCp932(QString(pad, u'x') + QStringLiteral("登録者")) + "\"\r\n";
    for (int i = 0; i < count; ++i) {
        const QString head = args[2] + QStringLiteral("-%1-").arg(i);
        const bool ok = pad == 0
                            ? perumina::AppendQuotedRecords(args[1], {head + QStringLiteral("登録者")}).ok
                            : perumina::appendLocked(args[1], '"' + head.toLatin1() + tail).ok;
        if (!ok)
            return 1;
        std::printf("%d\n", i);
        std::fflush(stdout);
    }
    return 0;
}
