#include "setup/site.h"

#include "shared/paths.h"
#include "shared/records.h"
#include "shared/site.h"
#include "shared/textfile.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <vector>

#ifndef Q_OS_WIN
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace setup {

using perumina::Status;
namespace site = perumina::site;

bool ensureFolder(const QString &path, Report &report)
{
    if (QFileInfo(path).isDir())
        return true;
    if (!QDir().mkpath(path)) {
        report.status = Status::failure(QStringLiteral("フォルダを作成できませんでした: %1").arg(path));
        return false;
    }
    report.created.append(path);
    return true;
}

bool ensureFile(const QString &path, const QByteArray &content, Report &report)
{
    if (QFileInfo::exists(path))
        return true;
    QFile file(path);
    // NewOnly: a file another run created meanwhile is kept as it is.
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        if (QFileInfo::exists(path))
            return true;
        report.status = Status::failure(QStringLiteral("ファイルを作成できませんでした: %1").arg(path));
        return false;
    }
    if (file.write(content) != content.size() || !file.flush()) {
        file.remove();
        report.status = Status::failure(QStringLiteral("ファイルに書き込めませんでした: %1").arg(path));
        return false;
    }
    report.created.append(path);
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

// The administrator file, as options.adminChange asks. A rewritten file keeps the group and mode it had,
// so that the staff group still reads it where the set-up is run without the server role.
static bool writeAdministrator(const SiteOptions &options, Report &report)
{
    const QString path = site::administratorsFile(options.server);
    const QString record = administratorRecord(options.adminId, options.adminPassword);
    if (options.adminChange == AdminChange::IfMissing || !QFileInfo::exists(path))
        return ensureTextFile(path, record, report);
    QString text;
    if (options.adminChange == AdminChange::Add) {
        const auto fields = perumina::ReadFields(path);
        const auto bytes = perumina::readFileBytes(path);
        if (!fields || !bytes) {
            report.status =
                Status::failure(QStringLiteral("管理者情報.txt を読めませんでした: %1").arg(path));
            return false;
        }
        if (fields->contains(options.adminId + options.adminPassword))
            return true;
        text = perumina::decodeCp932(*bytes);
        if (!text.isEmpty() && !text.endsWith(u'\n'))
            text += perumina::kCrLf;
    }
    text += record;
    const auto encoded = perumina::encodeCp932(text);
    if (!encoded) {
        report.status = Status::failure(perumina::unencodableMessage(QStringLiteral("管理者情報.txt")));
        return false;
    }
#ifndef Q_OS_WIN
    struct stat before;
    const bool known = ::stat(QFile::encodeName(path).constData(), &before) == 0;
#endif
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(*encoded) != encoded->size() || !file.commit()) {
        report.status = Status::failure(QStringLiteral("管理者情報.txt を書けませんでした: %1").arg(path));
        return false;
    }
#ifndef Q_OS_WIN
    if (known) {
        const QByteArray native = QFile::encodeName(path);
        if (::lchown(native.constData(), before.st_uid, before.st_gid) != 0 && errno != EPERM)
            report.notes.append(QStringLiteral("管理者情報.txt の持ち主を戻せませんでした: %1").arg(path));
        ::chmod(native.constData(), before.st_mode & 07777);
    }
#endif
    report.updated.append(path);
    return true;
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
    const QString target = site::localFolder() + QFileInfo(source).fileName();
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
        .arg(*named, site::locatorFile());
}

QString shareUnreachable(const QString &server)
{
    const QString data = site::dataFolder(server);
    if (QFileInfo(data).isDir() && QFileInfo(site::fullNamesFile(server)).isFile())
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
               "# The share of ぺるみな, written by PeruminaSetup. smb.conf includes it with the line\n"
               "#   include = <this file>\n"
               "# as the last line of its [global] section (PeruminaSetup --smb-conf adds it).\n"
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
static bool isMemberOf(gid_t gid)
{
    if (::getegid() == gid)
        return true;
    std::vector<gid_t> groups(std::max(::getgroups(0, nullptr), 0));
    const int count = ::getgroups(int(groups.size()), groups.data());
    return std::find(groups.begin(), groups.begin() + std::max(count, 0), gid) !=
           groups.begin() + std::max(count, 0);
}
#endif

static QString noGroupMessage(const QString &name)
{
    return QStringLiteral("グループ「%1」がありません。先に作成して下さい（例: groupadd %1）。").arg(name);
}

QString serverOptionsProblem(const SiteOptions &options)
{
#ifndef Q_OS_WIN
    for (const QString &name : {options.group, options.staffGroup}) {
        const struct group *entry = ::getgrnam(name.toLocal8Bit().constData());
        if (!entry)
            return noGroupMessage(name);
        // Only root, or a member of the group, may give the share to it; found out later, the files
        // would already be written with nobody's access.
        if (::geteuid() != 0 && !isMemberOf(entry->gr_gid))
            return QStringLiteral("グループ「%1」に共有フォルダを渡せるのは root か、そのグループのメンバー"
                                  "だけです。sudo を付けて実行して下さい。")
                .arg(name);
    }
#endif
    // The default lies in the site root, which the run itself makes.
    const QString sambaFolder = QFileInfo(options.sambaConf).absolutePath();
    if (sambaFolder != QDir::cleanPath(perumina::siteRoot()) && !QFileInfo(sambaFolder).isDir())
        return QStringLiteral("Samba の共有設定を書くフォルダがありません: %1")
            .arg(QFileInfo(options.sambaConf).absolutePath());
    if (!options.smbConf.isEmpty() && !QFileInfo(options.smbConf).isFile())
        return QStringLiteral("Samba の設定ファイルがありません: %1（samba を入れてから実行して下さい）")
            .arg(options.smbConf);
    return QString();
}

#ifndef Q_OS_WIN
static bool lookUpGroup(const QString &name, gid_t &gid, Report &report)
{
    const struct group *entry = ::getgrnam(name.toLocal8Bit().constData());
    if (!entry) {
        report.status = Status::failure(noGroupMessage(name));
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

bool giveShareAccess(const QString &server, const QStringList &paths, Report &report)
{
#ifdef Q_OS_WIN
    Q_UNUSED(server);
    Q_UNUSED(paths);
    Q_UNUSED(report);
    return true;
#else
    struct stat data;
    if (::stat(QFile::encodeName(site::dataFolder(server)).constData(), &data) != 0) {
        report.status = Status::failure(
            QStringLiteral("管理データのフォルダが見つかりません: %1").arg(site::dataFolder(server)));
        return false;
    }
    for (const QString &path : paths) {
        const QFileInfo info(path);
        if (info.isSymLink() || !info.exists())
            continue;
        if (!setAccess(path, data.st_gid, info.isDir() ? 02770 : 0660, report))
            return false;
    }
    return true;
#endif
}

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
    const QString share = QDir::cleanPath(site::share(options.server));
    const QString administrators = QDir::cleanPath(site::administratorsFile(options.server));
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

QString withSambaInclude(const QString &smbConf, const QString &includePath)
{
    QStringList lines = smbConf.split(u'\n');
    if (smbConf.endsWith(u'\n'))
        lines.removeLast();
    static const QRegularExpression include(QStringLiteral("^\\s*include\\s*=\\s*(.*?)\\s*$"),
                                            QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression section(QStringLiteral("^\\s*\\[([^\\]]*)\\]"));
    auto isOurs = [&](const QString &line) {
        const auto m = include.match(line);
        return m.hasMatch() && QDir::cleanPath(m.captured(1)) == includePath;
    };
    auto isSetting = [](const QString &line) {
        const QString trimmed = line.trimmed();
        return !trimmed.isEmpty() && !trimmed.startsWith(u'#') && !trimmed.startsWith(u';');
    };
    // The included file opens the share's section: whatever setting follows the line in the same
    // section would no longer be global. Well placed, the line is followed by a section or nothing.
    QList<qsizetype> ours;
    for (qsizetype i = 0; i < lines.size(); ++i)
        if (isOurs(lines[i]))
            ours.append(i);
    if (ours.size() == 1) {
        qsizetype next = ours.first() + 1;
        while (next < lines.size() && !isSetting(lines[next]))
            ++next;
        if (next == lines.size() || section.match(lines[next]).hasMatch())
            return smbConf;
    }
    // A line put elsewhere (directly under [global], say) moves to its place.
    for (qsizetype k = ours.size() - 1; k >= 0; --k)
        lines.removeAt(ours[k]);
    qsizetype lastGlobalSetting = -1;
    bool inGlobal = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (const auto m = section.match(lines[i]); m.hasMatch()) {
            inGlobal = m.captured(1).trimmed().compare(QStringLiteral("global"), Qt::CaseInsensitive) == 0;
            if (inGlobal)
                lastGlobalSetting = i;
        } else if (inGlobal && isSetting(lines[i])) {
            lastGlobalSetting = i;
        }
    }
    const QString line = QStringLiteral("   include = ") + includePath;
    if (lastGlobalSetting < 0)
        lines << QString() << QStringLiteral("[global]") << line;
    else
        lines.insert(lastGlobalSetting + 1, line);
    return lines.join(u'\n') + u'\n';
}

QStringList testparmComplaints(const QString &stderrText)
{
    static const QStringList usual{QStringLiteral("Load smb config files from"),
                                   QStringLiteral("Loaded services file OK"),
                                   QStringLiteral("Weak crypto is allowed"), QStringLiteral("Server role:")};
    QStringList complaints;
    for (const QString &line : stderrText.split(u'\n')) {
        const QString trimmed = line.trimmed();
        if (!trimmed.isEmpty() &&
            std::none_of(usual.begin(), usual.end(), [&](const QString &u) { return trimmed.startsWith(u); }))
            complaints << trimmed;
    }
    return complaints;
}

// Runs testparm -s on file; empty when the configuration loads without a single warning and defines
// the share, else why not. testparm absent: nothing to say, and a note.
static std::optional<QString> testparmProblem(const QString &file, Report &report)
{
    const QString testparm = QStandardPaths::findExecutable(QStringLiteral("testparm"));
    if (testparm.isEmpty()) {
        report.notes.append(QStringLiteral("testparm が無いため、Samba の設定を確かめていません"
                                           "（Debian の samba-common-bin に入っています）。"));
        return std::nullopt;
    }
    QProcess check;
    check.start(testparm, {QStringLiteral("-s"), file});
    if (!check.waitForFinished(30000))
        return QStringLiteral("testparm が終わりませんでした。");
    const QString said = QString::fromLocal8Bit(check.readAllStandardError());
    const QString shares = QString::fromLocal8Bit(check.readAllStandardOutput());
    QStringList complaints = testparmComplaints(said);
    if (check.exitStatus() != QProcess::NormalExit || check.exitCode() != 0 ||
        !said.contains(QStringLiteral("Loaded services file OK")))
        complaints.prepend(
            QStringLiteral("設定を読み込めませんでした（終了コード %1）").arg(check.exitCode()));
    if (complaints.isEmpty() && !shares.contains(QStringLiteral("[ぺるみな]")))
        complaints << QStringLiteral("共有 [ぺるみな] が定義されていません");
    if (complaints.isEmpty())
        return QString();
    return complaints.join(u'\n');
}

// Adds the include line to smb.conf once, keeping a copy of the file as it was. The edited text is
// checked with testparm before it takes the file's place, so a refused edit leaves smb.conf untouched.
static bool includeInSmbConf(const SiteOptions &options, Report &report)
{
    QFile original(options.smbConf);
    if (!original.open(QIODevice::ReadOnly)) {
        report.status = Status::failure(QStringLiteral("Samba の設定ファイルを読めませんでした: %1（%2）")
                                            .arg(options.smbConf, original.errorString()));
        return false;
    }
    const QByteArray before = original.readAll();
    original.close();
    const QString edited = withSambaInclude(QString::fromUtf8(before), options.sambaConf);
    if (edited == QString::fromUtf8(before)) {
        if (const auto problem = testparmProblem(options.smbConf, report); problem && !problem->isEmpty()) {
            report.status =
                Status::failure(QStringLiteral("testparm が Samba の設定 %1 に警告を出しました:\n%2")
                                    .arg(options.smbConf, *problem));
            return false;
        }
        return true;
    }
    const QString candidate = options.smbConf + QStringLiteral(".perumina-new");
    {
        QFile file(candidate);
        const QByteArray text = edited.toUtf8();
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text) != text.size() ||
            !file.flush()) {
            report.status =
                Status::failure(QStringLiteral("Samba の設定を書けませんでした: %1").arg(candidate));
            QFile::remove(candidate);
            return false;
        }
        file.setPermissions(original.permissions());
    }
    if (const auto problem = testparmProblem(candidate, report); problem && !problem->isEmpty()) {
        QFile::remove(candidate);
        report.status = Status::failure(
            QStringLiteral(
                "include の行を加えた Samba の設定に testparm が警告を出したため、%1 は変更していません:\n%2")
                .arg(options.smbConf, *problem));
        return false;
    }
    // One copy per edit: a second edit within the same second gets its own name.
    const QString stamp =
        options.smbConf + u'.' + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString backup = stamp + QStringLiteral(".bak");
    for (int n = 2; QFileInfo::exists(backup); ++n)
        backup = stamp + u'-' + QString::number(n) + QStringLiteral(".bak");
    // Renamed over the old file, so that Samba never finds smb.conf missing or half written.
    if (!QFile::copy(options.smbConf, backup) ||
        std::rename(QFile::encodeName(candidate).constData(),
                    QFile::encodeName(options.smbConf).constData()) != 0) {
        report.status =
            Status::failure(QStringLiteral("Samba の設定を置き換えられませんでした: %1（元の内容: %2）")
                                .arg(options.smbConf, backup));
        return false;
    }
    report.updated.append(options.smbConf);
    report.notes.append(QStringLiteral("Samba の設定に include の行を加えました。元の内容: %1").arg(backup));
    return true;
}

static bool writeSambaDefinition(const SiteOptions &options, Report &report)
{
    const QString share = QDir::cleanPath(site::share(options.server));
    const QByteArray text = sambaShareDefinition(share, options.group).toUtf8();
    QFile existing(options.sambaConf);
    const bool same = existing.open(QIODevice::ReadOnly) && existing.readAll() == text;
    existing.close();
    if (!same) {
        QSaveFile file(options.sambaConf);
        if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
            report.status = Status::failure(QStringLiteral("Samba の共有設定を書けませんでした: %1（%2）")
                                                .arg(options.sambaConf, file.errorString()));
            return false;
        }
        report.created.append(options.sambaConf);
    }
    if (!options.smbConf.isEmpty()) {
        if (!includeInSmbConf(options, report))
            return false;
        if (!QStandardPaths::findExecutable(QStringLiteral("testparm")).isEmpty())
            report.notes.append(
                QStringLiteral("testparm で Samba の設定を確かめました: %1").arg(options.smbConf));
        return true;
    }
    // Without smb.conf to edit, the share definition alone is checked.
    const auto problem = testparmProblem(options.sambaConf, report);
    if (problem && !problem->isEmpty()) {
        report.status =
            Status::failure(QStringLiteral("testparm が Samba の共有設定 %1 を受け付けませんでした:\n%2")
                                .arg(options.sambaConf, *problem));
        return false;
    }
    if (problem)
        report.notes.append(
            QStringLiteral("testparm で Samba の共有設定を確かめました: %1").arg(options.sambaConf));
    report.notes.append(
        QStringLiteral("/etc/samba/smb.conf の [global] の最後に「include = %1」を加えて下さい"
                       "（--smb-conf /etc/samba/smb.conf を付けると、この行を加えます）。")
            .arg(options.sambaConf));
    return true;
}

static bool createLocalFolder(const SiteOptions &options, Report &report)
{
    // A locator without a name names no site; it takes this one.
    const auto named = perumina::ReadServerName();
    if (named && named->isEmpty() && !QFile::remove(site::locatorFile())) {
        report.status = Status::failure(
            QStringLiteral("ロケータファイルを書き換えられませんでした: %1").arg(site::locatorFile()));
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
                    ensureFolder(site::presenceFolder(server), report) &&
                    (options.adminId.isEmpty() || writeAdministrator(options, report)) &&
                    createLocalFolder(options, report);
    Q_UNUSED(ok);
}

// The record of password resets and retirements lies outside the share; the staff's accounts add to it.
static bool prepareAdministrationRecord(const SiteOptions &options, Report &report)
{
#ifdef Q_OS_WIN
    Q_UNUSED(options);
    Q_UNUSED(report);
    return true;
#else
    const QString record = site::administrationRecord();
    if (QFileInfo(record).isSymLink()) {
        report.status = Status::failure(QStringLiteral("リンクになっているため使えません: %1").arg(record));
        return false;
    }
    gid_t staff = 0;
    if (!lookUpGroup(options.staffGroup, staff, report) || !ensureFile(record, {}, report))
        return false;
    return setAccess(record, staff, 0660, report);
#endif
}

// The staff group's name in the local folder, which only root can write: it tells the administration
// program that this is a school's server, whose administrator file only the staff may have written.
static bool recordStaffGroup(const SiteOptions &options, Report &report)
{
    const QString marker = site::staffGroupFile();
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
    if (grantShareToGroups(options, report) && prepareAdministrationRecord(options, report) &&
        recordStaffGroup(options, report))
        writeSambaDefinition(options, report);
}

} // namespace setup
