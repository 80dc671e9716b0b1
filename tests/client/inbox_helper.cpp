// inbox_helper FULLNAME: copies that user's inbox to this person's local copy as the login does and
// prints the newest mail's sender and title, and the copy's path. Exit 0 done, 1 failed, 2 bad
// arguments or no server name.
#include "client/core/mail.h"
#include "shared/paths.h"
#include "shared/records.h"
#include "shared/site.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const auto server = perumina::ReadServerName();
    if (args.size() != 2 || !server || server->isEmpty())
        return 2;
    if (const perumina::Status fetched = client::fetchInbox(*server, args[1]); !fetched) {
        std::fprintf(stderr, "%s\n", fetched.error.toUtf8().constData());
        return 1;
    }
    const auto table = client::readTable(perumina::site::localInboxCopy());
    if (!table || table->isEmpty())
        return 1;
    std::printf("%s %s\n%s\n", table->first().sender.toUtf8().constData(),
                table->first().title.toUtf8().constData(),
                perumina::site::localInboxCopy().toUtf8().constData());
    return 0;
}
