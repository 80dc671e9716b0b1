#include "client/core/registry.h"

#include "shared/paths.h"
#include "shared/records.h"
#include "shared/shareaccess.h"
#include "shared/sharedfile.h"
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

QString dataFolder(const QString &serverName)
{
    return SharePath(serverName, tails::kDataFolder);
}

QString userFolder(const QString &serverName, const QString &fullName)
{
    return dataFolder(serverName) + fullName;
}

QString adminCopyFolder(const QString &serverName, const QString &fullName)
{
    return SharePath(serverName, tails::kAdminFolder) + fullName;
}

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

// Names that Windows keeps for devices, with or without an extension, in any case.
bool isDeviceName(const QString &name)
{
    const QString stem = name.section(u'.', 0, 0).trimmed().toUpper();
    static const QStringList fixed = {QStringLiteral("CON"), QStringLiteral("PRN"), QStringLiteral("AUX"),
                                      QStringLiteral("NUL")};
    if (fixed.contains(stem))
        return true;
    return stem.size() == 4 &&
           (stem.startsWith(QStringLiteral("COM")) || stem.startsWith(QStringLiteral("LPT"))) &&
           stem[3] >= u'1' && stem[3] <= u'9';
}

// Why a full name cannot name the user's folder, or empty when it can.
QString folderNameProblem(const QString &name)
{
    static const QString forbidden = QStringLiteral("\\/:*?\"<>|");
    for (QChar c : name) {
        if (forbidden.contains(c))
            return QStringLiteral("本名に次の文字は使えません。　\\ / : * ? \" < > |");
    }
    const auto spaceOrDot = [](QChar c) { return c == u' ' || c == u'.'; };
    if (spaceOrDot(name.front()) || spaceOrDot(name.back()))
        return QStringLiteral("本名の最初と最後には空白やピリオド（.）は使えません。");
    // Folder names are limited to 255 units on Windows and 255 bytes on other systems.
    if (name.size() > 255 || name.toUtf8().size() > 255)
        return QStringLiteral("本名が長すぎます。短くして下さい。");
    if (isDeviceName(name))
        return QStringLiteral("この本名はフォルダの名前に使えません。別の書き方にして下さい。");
    return {};
}

std::optional<Refusal> checkValue(Field field, const QString &value)
{
    const QString what = fieldName(field);
    if (value.isEmpty())
        return Refusal{field, what + QStringLiteral("を入力して下さい。")};
    if (value.contains(u',') || value.contains(u'"'))
        return Refusal{field,
                       what + QStringLiteral("にコンマ（,）やダブルクォーテーション（\"）は使えません。")};
    if (hasControlCharacter(value) || !canEncodeCp932(value))
        return Refusal{field, unencodableMessage(what)};
    if (field == Field::FullName) {
        const QString problem = folderNameProblem(value);
        if (!problem.isEmpty())
            return Refusal{field, problem};
    }
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
    auto fullNames = ReadFields(SharePath(serverName, tails::kFullNames));
    if (!fullNames)
        return lists;
    lists.fullNames = *fullNames;
    auto credentials = ReadFields(SharePath(serverName, tails::kCredentials));
    if (!credentials)
        return lists;
    lists.credentials = *credentials;
    auto adminRecords = ReadFields(SharePath(serverName, tails::kAdminRecords));
    if (!adminRecords)
        return lists;
    lists.adminRecords = *adminRecords;
    auto userNames = ReadFields(SharePath(serverName, tails::kUserNames));
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
    return SharePath(serverName, tails::kUserNames);
}

RegistrationResult recordRegistration(const QString &serverName, const NewUser &user, int lockTimeoutMs)
{
    const QString fullNamesPath = SharePath(serverName, tails::kFullNames);
    const QString credentialsPath = SharePath(serverName, tails::kCredentials);
    const QString adminRecordsPath = SharePath(serverName, tails::kAdminRecords);
    const QString userNamesPath = SharePath(serverName, tails::kUserNames);
    const QString templatePath = SharePath(serverName, tails::kInboxTemplate);

    if (!QFileInfo(mapPath(dataFolder(serverName))).isDir())
        return failed(QStringLiteral("管理用コンピュータのフォルダに接続できませんでした。"));

    // One lock for the whole registration, so that the checks below still hold when the records land.
    SharedFileLock lock(registryLockPath(serverName));
    if (!lock.acquire(lockTimeoutMs))
        return failed(QStringLiteral(
            "ほかのコンピュータで登録している最中です。少し待ってからもう一度「登録」を押して下さい。"));

    auto userNames = ReadFields(userNamesPath);
    auto fullNames = ReadFields(fullNamesPath);
    if (!userNames || !fullNames || !QFileInfo(mapPath(credentialsPath)).isFile() ||
        !QFileInfo(mapPath(adminRecordsPath)).isFile())
        return failed(QStringLiteral("登録している人の情報を読めませんでした。"));
    if (auto refusal = checkTaken(user, joinedWithLineEnds(*userNames), joinedWithLineEnds(*fullNames)))
        return refused(*refusal);
    // A folder of that name would hand the new user someone else's inbox, or is the administration folder.
    const QString ownFolder = mapPath(userFolder(serverName, user.fullName));
    const QString copyFolder = mapPath(adminCopyFolder(serverName, user.fullName));
    if (QFileInfo::exists(ownFolder) || QFileInfo::exists(copyFolder))
        return refused(Refusal{Field::FullName, kFullNameTakenMessage});
    if (!QFileInfo(mapPath(SharePath(serverName, tails::kAdminFolder))).isDir())
        return failed(QStringLiteral("管理用フォルダが見つかりません。"));
    if (!QFileInfo(mapPath(templatePath)).isFile())
        return failed(QStringLiteral("受信箱のひな形（受信箱.txt）が見つかりません。"));

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
    if (!QFile::copy(mapPath(templatePath), ownFolder + QStringLiteral("/受信箱.txt")))
        return failed(QStringLiteral("%1 さんの受信箱を作れませんでした。").arg(user.fullName), true);
    perumina::grantGroupAccess(ownFolder + QStringLiteral("/受信箱.txt"));
    RegistrationResult result;
    result.outcome = RegistrationOutcome::Recorded;
    return result;
}

} // namespace client
