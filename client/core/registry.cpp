#include "client/core/registry.h"

#include "shared/paths.h"
#include "shared/records.h"
#include "shared/shareaccess.h"
#include "shared/sharedfile.h"
#include "shared/site.h"
#include "shared/textfile.h"

#include <QCollator>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <algorithm>

namespace client {

using namespace perumina;

namespace {

QString fieldName(Field field)
{
    switch (field) {
    case Field::UserName:
        return QStringLiteral("ユーザー名");
    case Field::FullName:
        return QStringLiteral("本名");
    case Field::Password:
        return QStringLiteral("パスワード");
    }
    return {};
}

bool hasControlCharacter(const QString &value)
{
    return std::any_of(value.begin(), value.end(),
                       [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; });
}

std::optional<Refusal> checkValue(Field field, const QString &value)
{
    // The full name names the user's folders, so the site's name rule decides it, as everywhere else.
    if (field == Field::FullName) {
        const QString problem = site::nameProblem(value, site::NameKind::FullName);
        if (!problem.isEmpty())
            return Refusal{field, problem};
        return std::nullopt;
    }
    const QString what = fieldName(field);
    if (value.isEmpty())
        return Refusal{field, what + QStringLiteral("を入力して下さい。")};
    if (value.contains(u',') || value.contains(u'"'))
        return Refusal{field,
                       what + QStringLiteral("にコンマ（,）やダブルクォーテーション（\"）は使えません。")};
    if (hasControlCharacter(value) || !canEncodeCp932(value))
        return Refusal{field, unencodableMessage(what)};
    return std::nullopt;
}

// Appends quoted records without taking the file's lock, for a caller that holds it already.
Status appendQuotedHoldingLock(const QString &path, const QStringList &values)
{
    const auto bytes = perumina::quotedRecordBytes(values);
    if (!bytes)
        return Status::failure(unencodableMessage(QString()));
    return perumina::appendHoldingLock(path, *bytes);
}

RegistrationResult failed(const QString &error, bool partlyWritten = false)
{
    RegistrationResult result;
    result.outcome = RegistrationOutcome::Failed;
    result.error = error;
    result.partlyWritten = partlyWritten;
    return result;
}

RegistrationResult refused(const Refusal &refusal)
{
    RegistrationResult result;
    result.outcome = RegistrationOutcome::Refused;
    result.refusal = refusal;
    return result;
}

} // namespace

RegistryLists loadRegistryLists(const QString &serverName)
{
    RegistryLists lists;
    auto fullNames = ReadFields(site::fullNamesFile(serverName));
    if (!fullNames)
        return lists;
    lists.fullNames = *fullNames;
    auto credentials = ReadFields(site::credentialsFile(serverName));
    if (!credentials)
        return lists;
    lists.credentials = *credentials;
    auto adminRecords = ReadFields(site::adminRecordsFile(serverName));
    if (!adminRecords)
        return lists;
    lists.adminRecords = *adminRecords;
    auto userNames = ReadFields(site::userNamesFile(serverName));
    if (!userNames)
        return lists;
    lists.userNames = *userNames;
    lists.complete = true;
    return lists;
}

QStringList sortedUserNames(QStringList names)
{
    QCollator collator(QLocale(QLocale::Japanese, QLocale::Japan));
    std::stable_sort(names.begin(), names.end(),
                     [&](const QString &a, const QString &b) { return collator.compare(a, b) < 0; });
    return names;
}

QString joinedWithLineEnds(const QStringList &values)
{
    QString text;
    for (const QString &value : values)
        text += value + QStringLiteral("\r\n");
    return text;
}

NewUser foldedNewUser(const QString &userName, const QString &fullName, const QString &password)
{
    return {foldForCp932(userName), foldForCp932(fullName), foldForCp932(password)};
}

QString registryUnreachableMessage()
{
    return QStringLiteral(
        "①　管理用コンピュータの電源が入っていないか\r②　ネットワークが切れてると思うので\r\r"
        "担任の先生を呼んで確認してもらってネ！");
}

std::optional<Refusal> checkNewUserValues(const NewUser &user)
{
    if (auto refusal = checkValue(Field::UserName, user.userName))
        return refusal;
    if (auto refusal = checkValue(Field::FullName, user.fullName))
        return refusal;
    return checkValue(Field::Password, user.password);
}

std::optional<Refusal> checkTaken(const NewUser &user, const QString &userNameText,
                                  const QString &fullNameText)
{
    if (userNameText.contains(user.userName, Qt::CaseSensitive) &&
        !(user.userName.isEmpty() && userNameText.isEmpty()))
        return Refusal{Field::UserName, kUserNameTakenMessage};
    if (fullNameText.contains(user.fullName, Qt::CaseSensitive) &&
        !(user.fullName.isEmpty() && fullNameText.isEmpty()))
        return Refusal{Field::FullName, kFullNameTakenMessage};
    return std::nullopt;
}

QString registryLockPath(const QString &serverName)
{
    return site::userNamesFile(serverName);
}

RegistrationResult recordRegistration(const QString &serverName, const NewUser &user, int lockTimeoutMs)
{
    const QString fullNamesPath = site::fullNamesFile(serverName);
    const QString credentialsPath = site::credentialsFile(serverName);
    const QString adminRecordsPath = site::adminRecordsFile(serverName);
    const QString userNamesPath = site::userNamesFile(serverName);
    const QString templatePath = site::inboxTemplate(serverName);

    if (!QFileInfo(mapPath(site::dataFolder(serverName))).isDir())
        return failed(QStringLiteral("管理用コンピュータのフォルダに接続できませんでした。"));

    // One lock for the whole registration, so that the checks below still hold when the records land.
    SharedFileLock lock(registryLockPath(serverName));
    if (!lock.acquire(lockTimeoutMs)) {
        // Waiting helps only while another computer registers; a read-only share or a full disk does not
        // pass.
        if (const Status why = lock.failure(); why.kind != Status::Kind::InUse)
            return failed(why.error);
        return failed(QStringLiteral(
            "ほかのコンピュータで登録している最中です。少し待ってからもう一度「登録」を押して下さい。"));
    }

    auto userNames = ReadFields(userNamesPath);
    auto fullNames = ReadFields(fullNamesPath);
    if (!userNames || !fullNames || !QFileInfo(mapPath(credentialsPath)).isFile() ||
        !QFileInfo(mapPath(adminRecordsPath)).isFile())
        return failed(QStringLiteral("登録している人の情報を読めませんでした。"));
    if (auto refusal = checkTaken(user, joinedWithLineEnds(*userNames), joinedWithLineEnds(*fullNames)))
        return refused(*refusal);
    // A folder of that name would hand the new user someone else's inbox, or is the administration folder.
    const QString ownFolder = mapPath(site::userFolder(serverName, user.fullName));
    const QString copyFolder = mapPath(site::adminCopyFolder(serverName, user.fullName));
    if (QFileInfo::exists(ownFolder) || QFileInfo::exists(copyFolder))
        return refused(Refusal{Field::FullName, kFullNameTakenMessage});
    if (!QFileInfo(mapPath(site::adminFolder(serverName))).isDir())
        return failed(QStringLiteral("管理用フォルダが見つかりません。"));
    if (!QFileInfo(mapPath(templatePath)).isFile())
        return failed(QStringLiteral("受信箱のひな形（受信箱.txt）が見つかりません。"));

    for (const QString &folder : {ownFolder, copyFolder})
        if (Status linked = refuseLinks(folder); !linked)
            return failed(linked.error);

    // The four records in registration order, so that the N-th record of each file is the same user's.
    if (Status s = AppendQuotedRecords(fullNamesPath, {user.fullName}); !s)
        return failed(s.error);
    if (Status s = AppendQuotedRecords(credentialsPath, {user.userName + user.password}); !s)
        return failed(s.error, true);
    if (Status s =
            AppendQuotedRecords(adminRecordsPath, {user.userName + QStringLiteral(",") + user.fullName +
                                                   QStringLiteral(",") + user.password});
        !s)
        return failed(s.error, true);
    if (Status s = appendQuotedHoldingLock(userNamesPath, {user.userName}); !s)
        return failed(s.error, true);
    if (!perumina::makeSharedFolder(ownFolder))
        return failed(QStringLiteral("%1 さんのフォルダを作れませんでした。").arg(user.fullName), true);
    if (!perumina::makeSharedFolder(copyFolder))
        return failed(QStringLiteral("%1 さんの管理用フォルダを作れませんでした。").arg(user.fullName), true);
    if (!QFile::copy(mapPath(templatePath), mapPath(site::inbox(serverName, user.fullName))))
        return failed(QStringLiteral("%1 さんの受信箱を作れませんでした。").arg(user.fullName), true);
    perumina::grantGroupAccess(ownFolder + QStringLiteral("/受信箱.txt"));
    RegistrationResult result;
    result.outcome = RegistrationOutcome::Recorded;
    return result;
}

} // namespace client
