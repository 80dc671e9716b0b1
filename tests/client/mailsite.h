#pragma once

#include "common/testsite.h"
#include "shared/records.h"
#include "shared/site.h"

#include <QDir>
#include <QString>
#include <ostream>
#include <stdexcept>

namespace testing_support {

// Registers a user on SERVER the way registration leaves the share: one record in each of the four
// registry files, the user folder with the template inbox, and the administration copy folder.
inline void registerUser(const TempSite &site, const QString &userName, const QString &fullName,
                         const QString &password)
{
    using namespace perumina;
    const QString server = QStringLiteral("SERVER");
    const bool ok = AppendQuotedRecords(SharePath(server, tails::kFullNames), {fullName}) &&
                    AppendQuotedRecords(SharePath(server, tails::kCredentials), {userName + password}) &&
                    AppendQuotedRecords(SharePath(server, tails::kAdminRecords),
                                        {userName + u',' + fullName + u',' + password}) &&
                    AppendQuotedRecords(SharePath(server, tails::kUserNames), {userName});
    if (!ok)
        throw std::runtime_error("cannot register test user");
    const QString folder = SharePath(server, tails::kDataFolder) + fullName + u'\\';
    QDir().mkpath(site.local(folder));
    QDir().mkpath(site.local(SharePath(server, tails::kAdminFolder) + fullName));
    site.writeBytes(folder + QStringLiteral("受信箱.txt"),
                    site.bytes(SharePath(server, tails::kInboxTemplate)));
}

} // namespace testing_support

// Readable failure output for texts and lists of texts.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}
