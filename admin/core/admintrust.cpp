#include "admin/core/admintrust.h"

#include "shared/boundedread.h"
#include "shared/records.h"
#include "shared/sharedfile.h"
#include "shared/site.h"
#include "shared/textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifndef Q_OS_WIN
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace admin {

using namespace perumina;

namespace {

#ifndef Q_OS_WIN
QString adminFileName()
{
    return tails::kAdministrators.section(u'\\', -1, -1);
}

QString repair(const QString &path, const QString &group)
{
    return QStringLiteral("サーバーで sudo PeruminaSetup --role server … をもう一度実行するか、"
                          "管理者情報.txt を作り直して持ち主を root、グループを %1、権限を 0640 にして下さい"
                          "（sudo chown root:%1 %2 と sudo chmod 0640 %2）。")
        .arg(group, path);
}

bool isStaffMember(uid_t uid, const struct group &staff)
{
    if (uid == 0)
        return true;
    const struct passwd *account = ::getpwuid(uid);
    if (!account)
        return false;
    if (account->pw_gid == staff.gr_gid)
        return true;
    for (char **member = staff.gr_mem; member && *member; ++member)
        if (qstrcmp(*member, account->pw_name) == 0)
            return true;
    return false;
}

QString ownerName(uid_t uid)
{
    const struct passwd *account = ::getpwuid(uid);
    return account ? QString::fromLocal8Bit(account->pw_name) : QString::number(uid);
}

// The staff group's name from the set-up's record, or why it cannot be believed; nothing in a local site.
std::optional<QString> staffGroupName(QString &refusal)
{
    const QString marker = site::staffGroupFile();
    struct stat info;
    if (::lstat(QFile::encodeName(marker).constData(), &info) != 0)
        return std::nullopt;
    const QString name = QFileInfo(marker).fileName();
    if (!S_ISREG(info.st_mode) || info.st_uid != 0 || (info.st_mode & (S_IWGRP | S_IWOTH))) {
        refusal = QStringLiteral("%1 が root だけの書けるファイルではないため、誰も管理者として入れません。"
                                 "サーバーで sudo PeruminaSetup --role server … をもう一度実行して下さい。")
                      .arg(marker);
        return QString();
    }
    const auto lines = readTextLines(marker);
    const QString group = lines && !lines->isEmpty() ? lines->first().trimmed() : QString();
    if (group.isEmpty())
        refusal = QStringLiteral("%1 に職員のグループ名がありません。サーバーで sudo PeruminaSetup "
                                 "--role server … をもう一度実行して下さい。")
                      .arg(name);
    return group;
}
#endif

} // namespace

AdministratorFile readAdministratorFile(const QString &serverName)
{
    AdministratorFile result;
    const QString path = site::administratorsFile(serverName);
#ifndef Q_OS_WIN
    const auto group = staffGroupName(result.refusal);
    if (!result.refusal.isEmpty())
        return result;
    if (group) {
        const QByteArray groupName = group->toLocal8Bit();
        const struct group *staff = ::getgrnam(groupName.constData());
        if (!staff) {
            result.refusal =
                QStringLiteral("職員のグループ「%1」がこのコンピュータにないため、誰も管理者として"
                               "入れません。グループを作るか、セットアップをやり直して下さい。")
                    .arg(*group);
            return result;
        }
        // A folder on the way replaced by a link would lead to a file anywhere.
        if (Status linked = refuseLinks(path); !linked) {
            result.refusal =
                QStringLiteral("管理者情報.txt までのフォルダがリンクになっているため、誰も管理者として"
                               "入れません。児童・生徒が置き換えた可能性があります。") +
                repair(path, *group);
            return result;
        }
        const int fd =
            ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            if (errno == ELOOP)
                result.refusal =
                    QStringLiteral("管理者情報.txt がリンクになっているため、誰も管理者として入れません。"
                                   "児童・生徒が置き換えた可能性があります。") +
                    repair(path, *group);
            return result;
        }
        struct stat info;
        QString why;
        if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))
            why = QStringLiteral("管理者情報.txt がふつうのファイルではないため");
        else if (info.st_nlink != 1)
            why = QStringLiteral("管理者情報.txt に別の名前がリンクされているため");
        else if (!isStaffMember(info.st_uid, *staff))
            why = QStringLiteral("管理者情報.txt の持ち主が職員（グループ %1）ではない %2 のため")
                      .arg(*group, ownerName(info.st_uid));
        else if (info.st_mode & (S_IWGRP | S_IWOTH))
            why = QStringLiteral("管理者情報.txt を職員以外も書き換えられる（権限 %1）ため")
                      .arg(QString::number(info.st_mode & 07777, 8).rightJustified(4, u'0'));
        if (!why.isEmpty()) {
            ::close(fd);
            result.refusal = why +
                             QStringLiteral("、誰も管理者として入れません。児童・生徒が置き換えた可能性が"
                                            "あります。") +
                             repair(path, *group);
            return result;
        }
        QFile file;
        if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
            ::close(fd);
            return result;
        }
        const qint64 limit = readLimit(FileKind::Administrators).bytes;
        const QByteArray bytes = file.read(limit + 1);
        if (file.error() != QFileDevice::NoError)
            return result;
        if (bytes.size() > limit) {
            result.refusal = QStringLiteral("%1 が大きすぎるため（%2 を超えています）読みませんでした。"
                                            "管理者に知らせて下さい。")
                                 .arg(adminFileName(), limitText(limit));
            return result;
        }
        result.fields = parseFields(decodeCp932(bytes));
        return result;
    }
#endif
    // The local role as it always was: a file that cannot be read is reported as unreachable.
    result.fields = ReadFields(path);
    return result;
}

} // namespace admin
