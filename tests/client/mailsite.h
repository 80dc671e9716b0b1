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
    const bool ok =
        AppendQuotedRecords(site::fullNamesFile(server), {fullName}) &&
        AppendQuotedRecords(site::credentialsFile(server), {userName + password}) &&
        AppendQuotedRecords(site::adminRecordsFile(server), {userName + u',' + fullName + u',' + password}) &&
        AppendQuotedRecords(site::userNamesFile(server), {userName});
    if (!ok)
        throw std::runtime_error("cannot register test user");
    QDir().mkpath(site::userFolder(server, fullName));
    QDir().mkpath(site::adminCopyFolder(server, fullName));
    site.writeBytes(site::inbox(server, fullName), site.bytes(site::inboxTemplate(server)));
}

} // namespace testing_support

// Readable failure output for texts and lists of texts.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}
