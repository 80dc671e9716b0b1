// Site helpers shared by the mail tests.
#include "mailsite.h"

#include "shared/records.h"

#include <QDir>
#include <stdexcept>

namespace testing_support {

void registerUser(const TempSite &site, const QString &userName, const QString &fullName,
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
