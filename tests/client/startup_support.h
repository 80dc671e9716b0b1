#pragma once

#include "client/ui/clientapp.h"
#include "common/testsite.h"
#include "shared/fakes.h"
#include "shared/paths.h"
#include "shared/records.h"
#include "shared/site.h"

#include <QString>
#include <QStringList>
#include <memory>

namespace startup_testing {

inline const QString kServer = QStringLiteral("SERVER");

struct UserRecord
{
    QString userName;
    QString fullName;
    QString password;
};

// Lines of 管理情報.txt and 認証情報.txt as registration writes them, quotes kept.
inline QStringList adminLines(const QList<UserRecord> &users)
{
    QStringList lines;
    for (const UserRecord &u : users)
        lines.append(u'"' + u.userName + u',' + u.fullName + u',' + u.password + u'"');
    return lines;
}

inline QStringList credentialLines(const QList<UserRecord> &users)
{
    QStringList lines;
    for (const UserRecord &u : users)
        lines.append(u'"' + u.userName + u.password + u'"');
    return lines;
}

// The path here of a shared file the system names by its tail.
inline QString share(const QString &tail)
{
    return perumina::mapPath(perumina::SharePath(kServer, tail));
}

// Appends users to the four registry files of a site made with makeSite().
inline void registerUsers(const QList<UserRecord> &users)
{
    using namespace perumina;
    for (const UserRecord &u : users) {
        AppendQuotedRecords(share(tails::kFullNames), {u.fullName});
        AppendQuotedRecords(share(tails::kCredentials), {u.userName + u.password});
        AppendQuotedRecords(share(tails::kAdminRecords),
                            {u.userName + u',' + u.fullName + u',' + u.password});
        AppendQuotedRecords(share(tails::kUserNames), {u.userName});
    }
}

// A site with its registry, and a client on it driven through fakes.
struct ClientOnSite
{
    testing_support::TempSite site;
    perumina::FakeSeams fakes;
    std::unique_ptr<client::ClientApp> app;

    explicit ClientOnSite(const QList<UserRecord> &users = {})
    {
        site.makeSite(kServer);
        registerUsers(users);
    }
    client::ClientApp &start()
    {
        app = std::make_unique<client::ClientApp>(fakes.seams());
        app->start();
        return *app;
    }
};

} // namespace startup_testing
