// register_helper USER FULLNAME PASSWORD [STEP]: registers one user on the site of $PERUMINA_ROOT as the
// registration screen does (load, check, record). Exit 0 recorded, 3 user name taken, 4 full name
// taken, 1 failed, 2 bad arguments. With STEP (1-7, a recording step), it prints the step once done and
// waits there to be killed.
#include "client/core/registry.h"
#include "shared/records.h"

#include <QCoreApplication>
#include <QThread>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 4 && args.size() != 5)
        return 2;
    const auto server = perumina::ReadServerName();
    if (!server || server->isEmpty())
        return 2;
    const int stopAfter = args.size() == 5 ? args[4].toInt() : 0;
    const client::RecordingProbe stop = [stopAfter](client::RecordingStep done) {
        if (done == stopAfter) {
            std::printf("%d\n", stopAfter);
            std::fflush(stdout);
            for (;;)
                QThread::sleep(1);
        }
        return perumina::Status::success();
    };
    const client::RegistryLists lists = client::loadRegistryLists(*server);
    const client::NewUser user = client::foldedNewUser(args[1], args[2], args[3]);
    auto refusal = client::checkNewUser(user, client::joinedWithLineEnds(lists.userNames),
                                        client::joinedWithLineEnds(lists.fullNames));
    if (!refusal) {
        const client::RegistrationResult result = client::recordRegistration(*server, user, 60000, stop);
        if (result.outcome == client::RegistrationOutcome::Failed) {
            std::fprintf(stderr, "%s\n", result.error.toUtf8().constData());
            return 1;
        }
        refusal = result.refusal;
    }
    if (refusal)
        return refusal->field == client::Field::UserName ? 3 : 4;
    return 0;
}
