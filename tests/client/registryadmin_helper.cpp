// registryadmin_helper STEP reset USER PASSWORD | STEP retire YYYYMMDD FULLNAME...: changes the registry
// of the site of $PERUMINA_ROOT as an administrator does. After step STEP (0: none) it prints the step
// and waits there to be killed. Exit 0 done, 1 failed, 2 bad arguments.
#include "client/core/registryadmin.h"
#include "shared/records.h"

#include <QCoreApplication>
#include <QThread>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const auto server = perumina::ReadServerName();
    if (args.size() < 4 || !server || server->isEmpty())
        return 2;
    const int stopAfter = args[1].toInt();
    int told = 0;
    const client::AdminStepProbe stop = [&](int) {
        if (++told == stopAfter) {
            std::printf("%d\n", stopAfter);
            std::fflush(stdout);
            for (;;)
                QThread::sleep(1);
        }
    };
    if (args[2] == QLatin1String("reset") && args.size() == 5)
        return client::resetPassword(*server, args[3], args[4], stop) ? 0 : 1;
    if (args[2] == QLatin1String("retire") && args.size() >= 5)
        return client::retirePeople(*server, args.mid(4),
                                    QDate::fromString(args[3], QStringLiteral("yyyyMMdd")), stop)
                       .status
                   ? 0
                   : 1;
    return 2;
}
