// append_helper PATH PREFIX COUNT: appends COUNT records "PREFIX-i" through the shared lock.
#include "shared/records.h"

#include <QCoreApplication>
#include <QStringList>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 4)
        return 2;
    const int count = args[3].toInt();
    for (int i = 0; i < count; ++i) {
        const QString value = args[2] + QStringLiteral("-%1-登録者").arg(i);
        if (!perumina::AppendQuotedRecords(args[1], {value}))
            return 1;
    }
    return 0;
}
