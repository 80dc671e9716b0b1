#include "setup/site.h"

#include "shared/paths.h"
#include "shared/records.h"
#include "shared/site.h"
#include "shared/textfile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <cerrno>
#include <cstring>

#ifndef Q_OS_WIN
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace setup {

using perumina::mapPath;
using perumina::Status;
namespace site = perumina::site;

bool ensureFolder(const QString &path, Report &report)
{
    const QString mapped = mapPath(path);
    if (QFileInfo(mapped).isDir())
        return true;
    if (!QDir().mkpath(mapped)) {
        report.status = Status::failure(QStringLiteral("フォルダを作成できませんでした: %1").arg(mapped));
        return false;
    }
    report.created.append(mapped);
    return true;
}

bool ensureFile(const QString &path, const QByteArray &content, Report &report)
{
    const QString mapped = mapPath(path);
    if (QFileInfo::exists(mapped))
        return true;
    QFile file(mapped);
    // NewOnly: a file another run created meanwhile is kept as it is.
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        if (QFileInfo::exists(mapped))
            return true;
        report.status = Status::failure(QStringLiteral("ファイルを作成できませんでした: %1").arg(mapped));
        return false;
    }
    if (file.write(content) != content.size() || !file.flush()) {
        file.remove();
        report.status = Status::failure(QStringLiteral("ファイルに書き込めませんでした: %1").arg(mapped));
        return false;
    }
    report.created.append(mapped);
    return true;
}

bool ensureTextFile(const QString &path, const QString &text, Report &report)
{
    auto bytes = perumina::encodeCp932(text);
    if (!bytes) {
        report.status = Status::failure(perumina::unencodableMessage(QString()));
        return false;
    }
    return ensureFile(path, *bytes, report);
}

QString administratorRecord(const QString &id, const QString &password)
{
    return id + password + QStringLiteral(",,,,") + perumina::kCrLf;
}

QString checkAdministratorValue(const QString &value)
{
    if (value.isEmpty())
        return QStringLiteral("管理者のIDとパスワードは空にできません。");
    for (QChar c : value)
        if (c == u',' || c == u'"' || c.category() == QChar::Other_Control)
            return QStringLiteral(
                "管理者のIDとパスワードにはコンマ、ダブルクォーテーション、制御文字を使えません。");
    if (!perumina::canEncodeCp932(value))
        return perumina::unencodableMessage(QStringLiteral("管理者のIDかパスワード"));
    return QString();
}

// The local copy is what the client starts; after an upgrade it must be the installed program again.
static bool refreshSweeper(const QString &source, const QString &target, Report &report)
{
    QFile installed(source);
    QFile local(target);
    if (!installed.open(QIODevice::ReadOnly)) {
        report.status = Status::failure(QStringLiteral("InboxSweep を読めませんでした: %1").arg(source));
        return false;
    }
    const QByteArray bytes = installed.readAll();
    if (local.open(QIODevice::ReadOnly) && local.readAll() == bytes)
        return true;
    local.close();
    // Written beside and renamed over, so that a client starting it meanwhile finds the old or the new one.
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        report.status = Status::failure(QStringLiteral("InboxSweep を更新できませんでした: %1").arg(target));
        return false;
    }
    QFile::setPermissions(target, installed.permissions());
    report.updated.append(target);
    return true;
}

static bool copySweeper(const QString &source, Report &report)
{
    const QString target = mapPath(site::localFolder() + QFileInfo(source).fileName());
    if (QFileInfo::exists(target))
        return refreshSweeper(source, target, report);
    if (!QFile::copy(source, target)) {
        report.status =
            Status::failure(QStringLiteral("InboxSweep をコピーできませんでした: %1").arg(target));
        return false;
    }
    report.created.append(target);
    return true;
}

QString locatorConflict(const QString &server)
{
    const auto named = perumina::ReadServerName();
    if (!named || named->isEmpty() || *named == server)
        return QString();
    return QStringLiteral("このコンピュータは既にサーバー「%1」のサイトとして設定されています。"
                          "別のサーバーにする場合は、先にロケータファイル %2 を確認して下さい。")
        .arg(*named, mapPath(site::locatorFile()));
}

QString shareUnreachable(const QString &server)
{
    const QString data = mapPath(site::dataFolder(server));
    if (QFileInfo(data).isDir() && QFileInfo(mapPath(site::fullNamesFile(server))).isFile())
        return QString();
    return QStringLiteral("サーバー「%1」の共有フォルダにつながっていません（%2 が見つかりません）。"
                          "共有フォルダをマウントしてから、もう一度実行して下さい。")
        .arg(server, data);
}

QString sambaShareDefinition(const QString &sharePath, const QString &group)
{
    // The masks keep what pupils create over the share writable for the whole group; the setgid
    // folders keep the group itself.
    return QStringLiteral(
               "# The share of ぺるみな, written by PeruminaSetup. Add to the [global] section of\n"
               "# /etc/samba/smb.conf the line:  include = <this file>\n"
               "[ぺるみな]\n"
               "   path = %1\n"
               "   read only = no\n"
               "   browseable = yes\n"
               "   valid users = @%2\n"
               "   create mask = 0660\n"
               "   force create mode = 0660\n"
               "   directory mask = 2770\n"
               "   force directory mode = 2770\n"
               "   map archive = no\n"
               "   # The administrator file is the staff's: over the share nobody may see, read, replace,\n"
               "   # rename or create it; the administration program reads it by its local path.\n"
               "   veto files = /管理者情報.txt/\n")
        .arg(sharePath, group);
}

#ifndef Q_OS_WIN
static bool lookUpGroup(const QString &name, gid_t &gid, Report &report)
{
    const struct group *entry = ::getgrnam(name.toLocal8Bit().constData());
    if (!entry) {
        report.status = Status::failure(
            QStringLiteral("グループ「%1」がありません。先に作成して下さい（例: groupadd %1）。").arg(name));
        return false;
    }
    gid = entry->gr_gid;
    return true;
}

static bool setAccess(const QString &path, gid_t gid, mode_t mode, Report &report)
{
    const QByteArray native = QFile::encodeName(path);
    if (::lchown(native.constData(), static_cast<uid_t>(-1), gid) != 0 ||
        ::chmod(native.constData(), mode) != 0) {
        report.status = Status::failure(QStringLiteral("権限を設定できませんでした: %1（%2）")
                                            .arg(path, QString::fromLocal8Bit(std::strerror(errno))));
        return false;
    }
    return true;
}

// The folders above the share must let every account pass on its way to the share.
static bool letEveryonePass(const QString &path, Report &report)
{
    struct stat info;
    const QByteArray native = QFile::encodeName(path);
    if (::stat(native.constData(), &info) != 0)
        return true;
    const mode_t mode = (info.st_mode & 07777) | S_IXGRP | S_IXOTH;
    if (mode != (info.st_mode & 07777) && ::chmod(native.constData(), mode) != 0) {
        report.status = Status::failure(QStringLiteral("権限を設定できませんでした: %1").arg(path));
        return false;
    }
    return true;
}
#endif

// The whole share belongs to the school's group: folders 2770, files 0660; the administrator file
// to the staff group alone, 0640. Links are left as they are.
static bool grantShareToGroups(const SiteOptions &options, Report &report)
{
#ifdef Q_OS_WIN
    Q_UNUSED(options);
    report.status = Status::failure(QStringLiteral("Windows では共有フォルダの権限を設定できません。"));
    return false;
#else
    gid_t group = 0;
    gid_t staff = 0;
    if (!lookUpGroup(options.group, group, report) || !lookUpGroup(options.staffGroup, staff, report))
        return false;
    const QString share = QDir::cleanPath(mapPath(site::share(options.server)));
    const QString administrators = QDir::cleanPath(mapPath(site::administratorsFile(options.server)));
    for (QString above = QFileInfo(share).absolutePath(); above.startsWith(perumina::siteRoot());
         above = QFileInfo(above).absolutePath()) {
        if (!letEveryonePass(above, report))
            return false;
        if (above == perumina::siteRoot())
            break;
    }
    if (!setAccess(share, group, 02770, report))
        return false;
    QDirIterator it(share, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        if (info.isSymLink())
            continue;
        const bool ok = info.filePath() == administrators ? setAccess(info.filePath(), staff, 0640, report)
                        : info.isDir()                    ? setAccess(info.filePath(), group, 02770, report)
                                                          : setAccess(info.filePath(), group, 0660, report);
        if (!ok)
            return false;
    }
    return true;
#endif
}

static bool writeSambaDefinition(const SiteOptions &options, Report &report)
{
    const QString share = QDir::cleanPath(mapPath(site::share(options.server)));
    QSaveFile file(options.sambaConf);
    const QByteArray text = sambaShareDefinition(share, options.group).toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        report.status = Status::failure(QStringLiteral("Samba の共有設定を書けませんでした: %1（%2）")
                                            .arg(options.sambaConf, file.errorString()));
        return false;
    }
    report.created.append(options.sambaConf);
    const QString testparm = QStandardPaths::findExecutable(QStringLiteral("testparm"));
    if (testparm.isEmpty()) {
        report.notes.append(QStringLiteral("testparm が無いため、Samba の共有設定を確かめていません"
                                           "（Debian の samba-common-bin に入っています）。"));
        return true;
    }
    QProcess check;
    check.start(testparm, {QStringLiteral("-s"), options.sambaConf});
    check.waitForFinished(30000);
    const QString complaints = QString::fromLocal8Bit(check.readAllStandardError());
    const bool ok = check.exitStatus() == QProcess::NormalExit && check.exitCode() == 0 &&
                    complaints.contains(QStringLiteral("Loaded services file OK")) &&
                    !complaints.contains(QStringLiteral("Unknown parameter")) &&
                    !complaints.contains(QStringLiteral("ERROR")) &&
                    !complaints.contains(QStringLiteral("WARNING"));
    if (!ok) {
        report.status =
            Status::failure(QStringLiteral("testparm が Samba の共有設定 %1 を受け付けませんでした:\n%2")
                                .arg(options.sambaConf, complaints));
        return false;
    }
    report.notes.append(
        QStringLiteral("testparm で Samba の共有設定を確かめました: %1").arg(options.sambaConf));
    return true;
}

static bool createLocalFolder(const SiteOptions &options, Report &report)
{
    // A locator without a name names no site; it takes this one.
    const auto named = perumina::ReadServerName();
    if (named && named->isEmpty() && !QFile::remove(mapPath(site::locatorFile()))) {
        report.status = Status::failure(QStringLiteral("ロケータファイルを書き換えられませんでした: %1")
                                            .arg(mapPath(site::locatorFile())));
        return false;
    }
    return ensureFolder(site::localFolder(), report) &&
           ensureTextFile(site::locatorFile(), options.server + perumina::kCrLf, report) &&
           (options.sweeperProgram.isEmpty() || copySweeper(options.sweeperProgram, report));
}

void createSite(const SiteOptions &options, Report &report)
{
    const QString &server = options.server;
    if (const QString why = locatorConflict(server); !why.isEmpty()) {
        report.status = Status::failure(why);
        return;
    }
    if (options.role == Role::Classroom) {
        if (const QString why = shareUnreachable(server); !why.isEmpty()) {
            report.status = Status::failure(why);
            return;
        }
        createLocalFolder(options, report);
        return;
    }
    const bool ok = ensureFolder(site::dataFolder(server), report) &&
                    ensureFile(site::fullNamesFile(server), {}, report) &&
                    ensureFile(site::credentialsFile(server), {}, report) &&
                    ensureFile(site::adminRecordsFile(server), {}, report) &&
                    ensureFile(site::userNamesFile(server), {}, report) &&
                    ensureFolder(site::adminFolder(server), report) &&
                    ensureFile(site::inboxTemplate(server), {}, report) &&
                    (options.adminId.isEmpty() ||
                     ensureTextFile(site::administratorsFile(server),
                                    administratorRecord(options.adminId, options.adminPassword), report)) &&
                    createLocalFolder(options, report);
    Q_UNUSED(ok);
}

// The staff group's name in the local folder, which only root can write: it tells the administration
// program that this is a school's server, whose administrator file only the staff may have written.
static bool recordStaffGroup(const SiteOptions &options, Report &report)
{
    const QString marker = mapPath(perumina::local::kStaffGroup);
    const auto bytes = perumina::encodeCp932(options.staffGroup + perumina::kCrLf);
    QSaveFile file(marker);
    if (!bytes || !file.open(QIODevice::WriteOnly) || file.write(*bytes) != bytes->size() || !file.commit()) {
        report.status =
            Status::failure(QStringLiteral("職員グループの記録を書けませんでした: %1").arg(marker));
        return false;
    }
    QFile::setPermissions(marker, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                                      QFileDevice::ReadOther);
    report.created.append(marker);
    return true;
}

void finishServerShare(const SiteOptions &options, Report &report)
{
    if (grantShareToGroups(options, report) && recordStaffGroup(options, report))
        writeSambaDefinition(options, report);
}

} // namespace setup
