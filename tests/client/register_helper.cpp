// register_helper USER FULLNAME PASSWORD: registers one user on the site of $PERUMINA_ROOT as the
// registration screen does (load, check, record). Exit 0 recorded, 3 user name taken, 4 full name
// taken, 1 failed, 2 bad arguments.
#include "client/core/registry.h"
#include "shared/records.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 4)
        return 2;
    const auto server = perumina::ReadServerName();
    if (!server || server->isEmpty())
        return 2;
    const client::RegistryLists lists = client::loadRegistryLists(*server);
    const client::NewUser user = client::foldedNewUser(args[1], args[2], args[3]);
    auto refusal = client::checkNewUserValues(user);
    if (!refusal)
        refusal = client::checkTaken(user, client::joinedWithLineEnds(lists.userNames),
                                     client::joinedWithLineEnds(lists.fullNames));
    if (!refusal) {
        const client::RegistrationResult result = client::recordRegistration(*server, user, 60000);
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
